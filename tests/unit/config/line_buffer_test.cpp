// Free text buffered in the persistent record and printed in one command.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/config_fixture.h"

namespace {

using ecftest::ConfigTest;
using ecftest::status_para;

constexpr std::size_t pos_buffer = 1913;
constexpr std::size_t pos_estado_doc = 2557;

class LineBuffer : public ConfigTest {
 protected:
  void SetUp() override {
    ConfigTest::SetUp();
    modelo_conhecido(true, 48);
  }
  std::string buffer() const { return reinterpret_cast<const char *>(BMTCLOCAL_d + pos_buffer); }
  void poe_no_buffer(const std::string &s) {
    std::memcpy(BMTCLOCAL_d + pos_buffer, s.c_str(), s.size() + 1);
  }
  int estado_doc() const { return BMTCLOCAL_d[pos_estado_doc]; }
  void abre_documento(int estado) {
    BMTCLOCAL_d[pos_estado_doc] = static_cast<unsigned char>(estado);
  }
  bool alterado() const { return (ECFIF_nvmem.flags & 1) != 0; }
  // The host configuration record as discovery would leave it.
  void configuracao(int avanco, int acabamento) {
    ECFIF_cfg[2] = 1;
    ECFIF_cfg[6] = static_cast<unsigned char>(avanco);
    ECFIF_cfg[9] = static_cast<unsigned char>(acabamento);
  }
  std::vector<std::string> textos() const {
    std::vector<std::string> t;
    for (const auto &r : impressora.recebidos)
      if (r.comando == 67 || r.comando == 20) t.push_back(r.args);
    return t;
  }
};

TEST_F(LineBuffer, LinesAreCutAtTheColumnWidth) {
  struct Caso {
    int modo;
    std::string texto;
    std::string guardado;
  };
  const std::string a48(48, 'a');
  for (const Caso &c : {Caso{0, "", "\n"}, Caso{0, "Total", "Total\n"}, Caso{0, a48, a48},
                        Caso{0, a48 + "bbbbbbbbbbbb", a48}, Caso{1, "Grande", "\x0eGrande\n"},
                        Caso{1, a48, "\x0e" + a48}}) {
    poe_no_buffer("");
    EXPECT_EQ(BMTCLOCAL_bufferiza_linha(c.modo, c.texto.c_str()), 0);
    EXPECT_EQ(buffer(), c.guardado) << c.texto;
  }
  EXPECT_TRUE(impressora.recebidos.empty());
  EXPECT_FALSE(alterado());  // appending leaves the record's flag alone
}

TEST_F(LineBuffer, FortyColumnModel) {
  modelo_conhecido(false, 40);
  ASSERT_EQ(ECFIF_imprime_linha(std::string(45, 'z').c_str()), 0);
  ASSERT_EQ(ECFIF_imprime_expandido("E"), 0);
  EXPECT_EQ(buffer(), std::string(40, 'z') +
                          "\x0e"
                          "E\n");
}

TEST_F(LineBuffer, NullTextOrUnknownWidthIsRefused) {
  EXPECT_EQ(ECFIF_imprime_linha(nullptr), 2);
  EXPECT_EQ(ECFIF_imprime_expandido(nullptr), 2);
  ECFBMTC_num_col_ecf = 0;
  EXPECT_EQ(ECFIF_imprime_linha("x"), 2);
  EXPECT_EQ(buffer(), "");
}

TEST_F(LineBuffer, FullBufferIsSentBeforeTheNextLine) {
  const std::string linha(47, 'l');
  for (int i = 0; i < 12; ++i) ASSERT_EQ(ECFIF_imprime_linha(linha.c_str()), 0);  // 576 bytes
  EXPECT_TRUE(impressora.recebidos.empty());
  ASSERT_EQ(ECFIF_imprime_linha("curta"), 0);  // 576 + 5 fits
  EXPECT_TRUE(impressora.recebidos.empty());
  const std::string antes = buffer();
  ASSERT_EQ(ECFIF_imprime_linha(std::string(34, 'n').c_str()), 0);  // 582 + 34 > 614
  EXPECT_EQ(textos(), (std::vector<std::string>{antes}));
  EXPECT_EQ(buffer(), std::string(34, 'n') + "\n");
  EXPECT_EQ(estado_doc(), 2);
  EXPECT_TRUE(alterado());
}

TEST_F(LineBuffer, FlushTriesTheLinkedReceiptThenTheReport) {
  struct Caso {
    int r67, r20;
    int resultado;
    int estado;
    bool esvaziado;
    int enviados;
  };
  for (const Caso &c :
       {Caso{0, 0, 0, 2, true, 1}, Caso{15, 0, 0, 4, true, 2}, Caso{1, 34, 0, 0, true, 2},
        Caso{15, 1, 0, 0, true, 2}, Caso{34, 12, 12, 0, false, 2}}) {
    reinicia();
    modelo_conhecido(true);
    impressora.responde(67, status_para(c.r67));
    impressora.responde(20, status_para(c.r20));
    poe_no_buffer("linha\n");
    EXPECT_EQ(BMTCLOCAL_imprime_buffer(), c.resultado);
    EXPECT_EQ(estado_doc(), c.estado);
    EXPECT_EQ(buffer(), c.esvaziado ? "" : "linha\n");
    EXPECT_EQ(alterado(), c.esvaziado);
    EXPECT_EQ(static_cast<int>(textos().size()), c.enviados);
    for (const auto &t : textos()) EXPECT_EQ(t, "linha\n");
  }
}

TEST_F(LineBuffer, FailedFlushKeepsTextAndRefusesTheNewLine) {
  impressora.responde(67, status_para(12));
  impressora.responde(20, status_para(9));
  const std::string velho = std::string(600, 'v');
  poe_no_buffer(velho);
  EXPECT_EQ(ECFIF_imprime_linha("nova linha que nao cabe"), 9);
  EXPECT_EQ(buffer(), velho);
}

TEST_F(LineBuffer, TransportSendsTheTextBeforeMostCommands) {
  poe_no_buffer("texto\n");
  ECFBMTC_exec(19);
  EXPECT_EQ(impressora.comandos(), (std::vector<int>{19}));
  EXPECT_EQ(buffer(), "texto\n");
  impressora.recebidos.clear();
  const unsigned char pulso = 20;
  ECFBMTC_exec_argum(22, &pulso, 1);
  EXPECT_EQ(impressora.comandos(), (std::vector<int>{67, 22}));
  EXPECT_EQ(buffer(), "");
}

TEST_F(LineBuffer, FeedOnlyInATextDocumentAndNothingSentWhenEmpty) {
  EXPECT_EQ(BMTCLOCAL_imprime_buffer(), 0);  // empty buffer
  for (int estado : {0, 1, 3, 5}) {
    abre_documento(estado);
    poe_no_buffer("x\n");
    for (int n : {-1, 0, 3}) EXPECT_EQ(ECFIF_espaceja(n), 0);
    EXPECT_EQ(ECFIF_linha_marcacao(7), 0);
    EXPECT_EQ(buffer(), "x\n");
  }
  abre_documento(4);
  poe_no_buffer("");
  EXPECT_EQ(ECFIF_espaceja(3), 0);
  EXPECT_EQ(buffer(), "\n\n\n");
  EXPECT_TRUE(impressora.recebidos.empty());
}

TEST_F(LineBuffer, EndOfDocumentFeedsCutsAndPrints) {
  struct Caso {
    const char *nome;
    int acabamento;
    int desativa;
    std::string enviado;
  };
  for (const Caso &c :
       {Caso{"cutter", 3, 0, "fim\n\n\n\n\n\n\x1bm\n"}, Caso{"no cutter", 2, 0, "fim\n\n\n\n\n\n"},
        Caso{"cut disabled", 3, 1, "fim\n\n\n\n\n\n"}}) {
    reinicia();
    modelo_conhecido(true);
    configuracao(5, c.acabamento);
    ECFBMTCAUX_desativa_corte = c.desativa;
    abre_documento(2);
    poe_no_buffer("fim\n");
    EXPECT_EQ(ECFIF_espaceja(0), 0) << c.nome;
    EXPECT_EQ(textos(), (std::vector<std::string>{c.enviado})) << c.nome;
    EXPECT_EQ(buffer(), "") << c.nome;
  }
}

TEST_F(LineBuffer, CutSequenceMakesRoomFirst) {
  configuracao(0, 3);
  abre_documento(4);
  const std::string cheio(612, 'c');  // 612 + 3 > 614 after no feed lines
  poe_no_buffer(cheio);
  EXPECT_EQ(ECFIF_espaceja(0), 0);
  const auto t = textos();
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.front(), cheio + "\x1bm\n");

  reinicia();
  modelo_conhecido(true);
  configuracao(0, 3);
  abre_documento(4);
  poe_no_buffer(std::string(617, 'c'));
  EXPECT_EQ(ECFIF_espaceja(0), 0);
  EXPECT_EQ(textos(), (std::vector<std::string>{std::string(617, 'c'), "\x1bm\n"}));
}

TEST_F(LineBuffer, EndOfDocumentFailuresAreDroppedAsOk) {
  configuracao(2, 3);
  abre_documento(2);
  poe_no_buffer("perdido\n");
  impressora.responde(67, status_para(12));
  impressora.responde(20, status_para(12));
  EXPECT_EQ(ECFIF_espaceja(0), 0);
  EXPECT_EQ(buffer(), "");
  EXPECT_TRUE(alterado());
}

TEST_F(LineBuffer, EndOfDocumentWithoutConfigurationFeedsNothing) {
  impressora_mfd("MP-9999", 0x0100);  // unknown model: discovery fails
  abre_documento(2);
  poe_no_buffer("fim\n");
  EXPECT_EQ(ECFIF_espaceja(0), 0);
  EXPECT_EQ(textos(), (std::vector<std::string>{"fim\n"}));
}

}  // namespace
