// Consumer identification, application identification and the opening.
#include "receipt_fixture.h"

namespace receipt_test {
namespace {

constexpr std::size_t cpf = 1771, nome = 1801, endereco = 1832;

using Consumidor = ReciboTest;

TEST_F(Consumidor, FieldsAreCutToTheirWidthUnknownKindsIgnoredAndKindZeroForgetsAll) {
  EXPECT_EQ(ECFIF_identifica_consumidor(1, std::string(40, '1').c_str()), 0);
  EXPECT_EQ(ECFIF_identifica_consumidor(2, std::string(45, 'N').c_str()), 0);
  EXPECT_EQ(ECFIF_identifica_consumidor(3, std::string(90, 'E').c_str()), 0);
  EXPECT_EQ(campo(cpf), std::string(29, '1'));
  EXPECT_EQ(campo(nome), std::string(30, 'N'));
  EXPECT_EQ(campo(endereco), std::string(80, 'E'));
  EXPECT_TRUE(alterado());

  ECFIF_nvmem.flags = 0;
  EXPECT_EQ(ECFIF_identifica_consumidor(7, "x"),
            0);  // unknown kind: nothing changes but the record is marked
  EXPECT_EQ(campo(cpf), std::string(29, '1'));
  EXPECT_TRUE(alterado());

  ECFIF_identifica_consumidor(2, nullptr);
  EXPECT_EQ(campo(nome), "");
  ECFIF_identifica_consumidor(0, nullptr);
  EXPECT_EQ(campo(cpf), "");
  EXPECT_EQ(campo(endereco), "");
}

TEST_F(Consumidor, BlockLengthsByFieldsAndGeneration) {
  struct Caso {
    const char *f1, *f2, *f3;
    bool mfd;
    int tamanho;
  } casos[] = {
      {nullptr, "n", "e", true, 0}, {"c", nullptr, "e", true, 29}, {"c", "n", nullptr, true, 59},
      {"c", "n", "e", true, 139},   {"c", "n", "e", false, 29},
  };
  for (const auto &c : casos) {
    usa(c.mfd ? mp2000 : mp20);
    unsigned char b[140];
    EXPECT_EQ(BMTCLOCAL_formata_dados_cliente(b, c.f1, c.f2, c.f3), c.tamanho) << c.tamanho;
  }
  EXPECT_EQ(BMTCLOCAL_formata_dados_cliente(nullptr, "c", "n", "e"), 0);
  usa(mp2000);
  unsigned char b[140];
  ASSERT_EQ(BMTCLOCAL_formata_dados_cliente(b, std::string(35, 'x').c_str(), "Ana", "Rua"), 139);
  std::string s(reinterpret_cast<char *>(b), 139);
  EXPECT_EQ(s, std::string(29, 'x') + "Ana" + brancos(27) + "Rua" + brancos(77));
}

using Abertura = ReciboTest;

TEST_F(Abertura, SendsTheConsumerBlockAndForgetsItOnceOpen) {
  ECFIF_identifica_consumidor(1, "12345678909");
  ECFIF_identifica_consumidor(2, "Maria");
  ECFIF_identifica_consumidor(3, "Rua A, 1");
  BMTCLOCAL_d[600] = 3;
  ASSERT_EQ(ECFIF_inicio_venda(), 0);
  ASSERT_EQ(imp.numeros(), std::vector<int>{0});
  EXPECT_EQ(imp.args_de(0),
            "12345678909" + brancos(18) + "Maria" + brancos(25) + "Rua A, 1" + brancos(72));
  EXPECT_EQ(campo(cpf) + campo(nome) + campo(endereco), "");
  EXPECT_EQ(estado_doc(), 1);
  EXPECT_EQ(qtd_pagtos(), 0);
  EXPECT_TRUE(alterado());
}

TEST_F(Abertura, NameWithoutDocumentSendsNoArgumentsAndOlderPrintersOnlyTheDocument) {
  ECFIF_identifica_consumidor(2, "Maria");
  ASSERT_EQ(ECFIF_inicio_venda(), 0);
  EXPECT_EQ(imp.args_de(0), "");
  EXPECT_EQ(campo(nome), "");

  usa(mp20);
  BMTCLOCAL_d[600] = 2;
  ECFIF_identifica_consumidor(1, "123");
  ECFIF_identifica_consumidor(2, "Maria");
  ASSERT_EQ(ECFIF_inicio_venda(), 0);
  EXPECT_EQ(imp.args_de(0), "123" + brancos(26));
  EXPECT_EQ(qtd_pagtos(), 2);  // kept on a printer without detail tape
}

TEST_F(Abertura, RefusalWithNoReceiptStateIsToleratedAndKeepsTheConsumer) {
  ECFIF_identifica_consumidor(1, "123");
  BMTCLOCAL_d[600] = 1;
  estado_doc(1);  // state work-out with var 27 non-zero and estado_doc 1 gives 52
  imp.flag17(0);
  imp.var27(true);
  imp.recusa(0, {0, 0x01});
  EXPECT_EQ(ECFIF_inicio_venda(), 0);
  EXPECT_EQ(estado_doc(), 1);
  EXPECT_EQ(campo(cpf), "123");
  EXPECT_EQ(qtd_pagtos(), 0);
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 0);
  EXPECT_TRUE(ecftest::log_has("cf_abertura_txt()=34, tratado como OK."));
  EXPECT_TRUE(ecftest::log_has("inicio_venda()=0."));
}

TEST_F(Abertura, OtherRefusalsAreReturnedAndMarkedForRepeat) {
  ECFIF_identifica_consumidor(1, "123");
  imp.flag17(0x01);  // a receipt is already open: state 3
  imp.recusa(0, {0x04, 0x01});
  EXPECT_EQ(ECFIF_inicio_venda(), 15);
  EXPECT_EQ(estado_doc(), 0);
  EXPECT_EQ(campo(cpf), "123");
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 10);
}

using IdAplicacao = ReciboTest;

TEST_F(IdAplicacao, SentOnceOnModelsThatTakeIt) {
  usa(mp4000);
  ASSERT_EQ(ECFIF_id_aplicacao("PDV 1.0"), 0);
  EXPECT_EQ(imp.args_de(6264), "PDV 1.0" + brancos(77));
  EXPECT_EQ(ECFBMTCAUX_configurada_idaplica, 1);
  imp.limpa();
  EXPECT_EQ(ECFIF_id_aplicacao("Outro"), 0);
  EXPECT_TRUE(imp.comandos.empty());
  EXPECT_STREQ(ECFBMTCAUX_idaplica, "PDV 1.0");
}

TEST_F(IdAplicacao, OtherModelsCountAsConfiguredWithoutSending) {
  usa(mp2000);
  EXPECT_EQ(ECFIF_id_aplicacao(std::string(100, 'a').c_str()), 0);
  EXPECT_TRUE(imp.comandos.empty());
  EXPECT_EQ(ECFBMTCAUX_configurada_idaplica, 1);
  EXPECT_EQ(std::strlen(ECFBMTCAUX_idaplica), 84u);
  EXPECT_TRUE(ecftest::log_has("id_aplicacao()=15, tratado como OK."));
}

TEST_F(IdAplicacao, NullEmptiesTheTextAndARefusalIsSentAgainLater) {
  usa(mp7000);
  std::strcpy(ECFBMTCAUX_idaplica, "velho");
  EXPECT_EQ(ECFIF_id_aplicacao(nullptr), 2);
  EXPECT_STREQ(ECFBMTCAUX_idaplica, "");

  imp.recusa(6264, {0, 0x01});
  EXPECT_EQ(ECFIF_id_aplicacao("PDV"), 34);
  EXPECT_EQ(ECFBMTCAUX_configurada_idaplica, 0);
  EXPECT_STREQ(ECFBMTCAUX_idaplica, "PDV");
  EXPECT_EQ(ECFIF_id_aplicacao("PDV"), 0);
  EXPECT_EQ(imp.numeros(), (std::vector<int>{6264, 6264}));
}

}  // namespace
}  // namespace receipt_test
