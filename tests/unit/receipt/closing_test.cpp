// Totalling, payments with their records, promotional lines and the closing.
#include "receipt_fixture.h"

namespace receipt_test {
namespace {

std::string nomes_formas() {
  std::string v;
  for (const char *n : {"Dinheiro", "Cartao", "Cheque"}) {
    std::string s(n);
    v += s + brancos(16 - s.size());
  }
  return v + std::string(620 - v.size(), '\0');
}

class Fechamento : public ReciboTest {
 protected:
  void SetUp() override {
    ReciboTest::SetUp();
    imp.variaveis[49] = nomes_formas();
    imp.variaveis[32] = std::string(1925, '\0');
  }
  std::string total_pago() {
    char t[64] = {};
    _8toa(t, BMTCLOCAL_d + 2549);
    return t;
  }
};

TEST_F(Fechamento, TotallingStartsOnlyOnAnOpenReceipt) {
  imp.flag17(0x01);
  BMTCLOCAL_d[2549] = 0x55;
  ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
  EXPECT_EQ(imp.numeros(), (std::vector<int>{35, 32}));
  EXPECT_EQ(imp.args_de(32), "D0000");
  EXPECT_EQ(total_pago(), "0");
  EXPECT_TRUE(alterado());

  imp.limpa();
  imp.flag17(0x03);
  ASSERT_EQ(ECFIF_imprime_total("x"), 0);
  EXPECT_EQ(imp.numeros(), std::vector<int>{35});
}

TEST_F(Fechamento, TotallingOfARealNonFiscalReceipt) {
  imp.flag17(0x00);
  estado_doc(3);
  BMTCLOCAL_d[2533] = 5;
  _ato8(BMTCLOCAL_d + 2537, "1000");
  ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
  EXPECT_EQ(imp.args_de(79), "d" + zeros(14));

  BMTCLOCAL_d[2533] = 29;  // simulated: nothing to send
  imp.limpa();
  ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
  EXPECT_EQ(imp.numeros(), std::vector<int>{35});
}

TEST_F(Fechamento, TotallingFailuresAreMarkedForRepeat) {
  imp.recusa(32, {0, 0x01});
  EXPECT_EQ(ECFIF_imprime_total(nullptr), 34);
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 13);
  imp.recusa(35, {0x01, 0x01}, 5);
  EXPECT_EQ(ECFIF_imprime_total(nullptr), 2);
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 13);
}

TEST_F(Fechamento, PaymentTextsFitTheColumnsAndEightyCharacters) {
  const std::string t60(60, 't'), u60(60, 'u');
  ASSERT_EQ(ECFBMTC_pagamento(1, "1000", t60.c_str(), u60.c_str()), 0);
  EXPECT_EQ(imp.args_de(72),
            "01" + zeros(10) + "1000" + std::string(48, 't') + std::string(32, 'u'));
  usa(mp40);
  ASSERT_EQ(ECFBMTC_pagamento(1, "1000", t60.c_str(), u60.c_str()), 0);
  EXPECT_EQ(imp.args_de(72).substr(16), std::string(40, 't') + std::string(40, 'u'));
  ASSERT_EQ(ECFBMTC_pagamento(1, "1000", "", "pago"), 0);
  EXPECT_EQ(imp.args_de(72).substr(16), "pago" + brancos(36));
  ASSERT_EQ(ECFBMTC_pagamento(12, "1", "", ""), 0);
  EXPECT_EQ(imp.args_de(72), "12" + zeros(13) + "1");
}

TEST_F(Fechamento, PaymentArgumentChecks) {
  EXPECT_EQ(ECFBMTC_pagamento(0, "1000", "", ""), 2);
  EXPECT_EQ(ECFBMTC_pagamento(51, "1000", "", ""), 2);
  EXPECT_EQ(ECFBMTC_pagamento(1, "123456789012345", "", ""), 2);
  EXPECT_EQ(ECFBMTC_pagamento(1, nullptr, "", ""), 2);
  EXPECT_TRUE(imp.comandos.empty());
  EXPECT_EQ(ECFBMTC_pagamento(1, "000", "", ""), 0);
  EXPECT_EQ(imp.args_de(72), "<none>");
  _ato8(BMTCLOCAL_d + 2537, "500");
  EXPECT_EQ(ECFBMTC_pagamento(1, "0", "", ""), 2);
  ECFBMTC_num_col_ecf = 0;
  EXPECT_EQ(ECFBMTC_pagamento(1, "10", "", ""), 2);
  EXPECT_EQ(imp.args_de(72), "<none>");
}

TEST_F(Fechamento, PaymentsAddUpAndKeepRecordsOfOtherMethods) {
  imp.coo_bcd = std::string("\x00\x45\x67", 3);
  ASSERT_EQ(ECFBMTC_pagamento(1, "1000", "", ""), 0);
  EXPECT_EQ(qtd_pagtos(), 0);
  ASSERT_EQ(ECFBMTC_pagamento(2, "2550", "", ""), 0);
  EXPECT_EQ(imp.numeros(), (std::vector<int>{35, 72, 72, 30}));
  EXPECT_EQ(total_pago(), "3550");
  ASSERT_EQ(qtd_pagtos(), 1);
  EXPECT_EQ(pagto(0),
            "004567" + nul() + zeros(10) + "2550" + nul() + "Cartao" + brancos(10) + nul());

  imp.recusa(72, {0, 0x01});
  EXPECT_EQ(ECFBMTC_pagamento(3, "100", "", ""), 34);
  EXPECT_EQ(total_pago(), "3550");
  EXPECT_EQ(qtd_pagtos(), 1);

  imp.recusa(30, {0, 0x01});
  EXPECT_EQ(ECFBMTC_pagamento(3, "100", "", ""), 0);
  EXPECT_EQ(qtd_pagtos(), 1);
}

TEST_F(Fechamento, ThirtyFirstRecordPushesOutTheOldest) {
  for (int i = 1; i <= 31; ++i) {
    ASSERT_EQ(ECFBMTC_pagamento(2, std::to_string(i).c_str(), "", ""), 0);
  }
  EXPECT_EQ(qtd_pagtos(), 30);
  EXPECT_EQ(pagto(0).substr(7, 14), zeros(13) + "2");
  EXPECT_EQ(pagto(29).substr(7, 14), zeros(12) + "31");
}

TEST_F(Fechamento, PaymentBeforeTotallingIsRetriedAfterTotalling) {
  protocolo_estendido();
  imp.recusa(72, {0, 0x01, 23});
  ASSERT_EQ(ECFBMTC_pagamento(1, "1000", "", ""), 0);
  EXPECT_EQ(imp.numeros(), (std::vector<int>{35, 72, 35, 32, 72}));
  EXPECT_EQ(imp.comandos[1].args, imp.comandos[4].args);
  EXPECT_TRUE(ecftest::log_has("reenviando: pagamento()=0."));
  EXPECT_EQ(total_pago(), "1000");

  imp.limpa();
  imp.recusa(72, {0, 0x01, 23});
  imp.recusa(32, {0x04, 0x01});
  EXPECT_EQ(ECFBMTC_pagamento(1, "1000", "", ""), 15);
  EXPECT_EQ(imp.numeros(), (std::vector<int>{72, 35, 32}));
  EXPECT_TRUE(ecftest::log_has("imprime_total()=15{0}"));
  EXPECT_EQ(total_pago(), "1000");

  imp.limpa();
  imp.recusa(72, {0, 0x01, 70});
  EXPECT_EQ(ECFBMTC_pagamento(1, "1000", "", ""), 2);
  EXPECT_EQ(imp.numeros(), std::vector<int>{72});
}

TEST_F(Fechamento, SimulatedNonFiscalPaymentSendsNothing) {
  usa(mp20);
  estado_doc(3);
  EXPECT_EQ(ECFBMTC_pagamento(2, "100", "", ""), 1);
  _ato8(BMTCLOCAL_d + 2537, "100");
  EXPECT_EQ(ECFBMTC_pagamento(2, "100", "", ""), 0);
  EXPECT_EQ(BMTCLOCAL_d[2545], 2);
  EXPECT_EQ(total_pago(), "100");
  EXPECT_EQ(imp.args_de(72), "<none>");
}

TEST_F(Fechamento, ClosingPrintsThePromotionalLines) {
  estado_doc(1);
  ECFIF_publicit(0, "Obrigado");
  ECFIF_publicit(1, "!Volte sempre");
  ECFIF_publicit(3, std::string(60, 'x').c_str());
  ASSERT_EQ(ECFIF_fim_venda(), 0);
  EXPECT_EQ(imp.args_de(34), "Obrigado\n\x0eVolte sempre\n" + std::string(48, 'x'));
  EXPECT_EQ(estado_doc(), 0);
  EXPECT_EQ(BMTCLOCAL_d[0] + BMTCLOCAL_d[50] + BMTCLOCAL_d[150], 0);

  imp.limpa();
  ASSERT_EQ(
      ECFBMTC_fecha_cupom(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
      0);
  EXPECT_EQ(imp.args_de(34), "");
}

TEST_F(Fechamento, ClosingSendsTheApplicationIdentificationFirst) {
  usa(mp4000);
  std::strcpy(ECFBMTCAUX_idaplica, "PDV");
  imp.recusa(6264, {0, 0x01});
  ASSERT_EQ(ECFIF_fim_venda(), 0);
  EXPECT_EQ(imp.numeros(), (std::vector<int>{6264, 35, 34}));
  EXPECT_TRUE(ecftest::log_has("id_aplicacao()=34, tratado como OK."));
}

TEST_F(Fechamento, PreCheckSkipsTheCloseWhenNoReceiptIsOpen) {
  imp.flag17(0x00);
  estado_doc(1);
  ECFIF_publicit(0, "Obrigado");
  ASSERT_EQ(ECFIF_fim_venda(), 0);
  EXPECT_EQ(imp.numeros(), std::vector<int>{35});
  EXPECT_EQ(estado_doc(), 0);
  EXPECT_EQ(BMTCLOCAL_d[0], 0);
}

TEST_F(Fechamento, RefusedCloseByPrinterState) {
  struct Caso {
    unsigned char estado_doc;
    uint8_t flag17_depois;
    int resultado;
    unsigned char estado_final;
    int repetir;
    bool linhas_mantidas;
    const char *fim_log = nullptr;  // the end that took over
  } casos[] = {
      {1, 0x01, 34, 1, 7, true},  // the receipt is still open (state 3)
      {1, 0x00, 0, 0, 0, false},  // nothing open (state 2): tolerated
      {1, 0x08, 0, 0, 0, false},  // state 51: tolerated
      // A non-fiscal or linked receipt open: its end takes over, and while
      // that end cannot close it the sale is not reported closed.
      {3, 0x00, 15, 3, 7, true, "fim_cnf()=15."},
      {2, 0x00, 15, 2, 7, true, "fim_cnf_vinc()=15."},
  };
  for (const auto &c : casos) {
    SCOPED_TRACE(int(c.estado_doc) * 1000 + c.flag17_depois);
    estado_doc(c.estado_doc);
    ECFIF_publicit(0, "Obrigado");
    imp.flag17(c.flag17_depois);
    if (c.estado_doc != 3) imp.proximo_flag17(0x01);  // the pre-check sees the receipt open
    imp.recusa(34, {0, 0x01});
    EXPECT_EQ(ECFIF_fim_venda(), c.resultado);
    EXPECT_EQ(estado_doc(), c.estado_final);
    EXPECT_EQ(ECFBMTCAUX_o_que_repetir, c.repetir);
    EXPECT_EQ(BMTCLOCAL_d[0] == 1, c.linhas_mantidas);
    EXPECT_EQ(ecftest::log_has("fecha_cupom()=34, tratado como OK."),
              c.estado_doc == 1 && c.resultado == 0);
    if (c.fim_log) {
      EXPECT_TRUE(ecftest::log_has(c.fim_log));
    }
    ecftest::clear_log();
    ECFIF_publicit(0, "");
  }
}

}  // namespace
}  // namespace receipt_test
