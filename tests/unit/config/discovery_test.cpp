// Configuration against the emulated printer: identification of every model,
// the payment method, tax rate and totalizer tables, programming from the
// file, buffered report text, and failures of each read passed on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "driver_test.h"
#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "platform/platform.h"

namespace ecftest {
namespace {

using Config = PrinterTest;  // a fresh configuration record too

struct Model {
  int code;
  bool mfd;
  int columns;
  const char *name;
};

class Identification : public Config, public ::testing::WithParamInterface<Model> {};

TEST_P(Identification, ModelGenerationNameAndTables) {
  const Model &m = GetParam();
  EmulatedPrinter printer(m.code);
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  EXPECT_EQ(ECFBMTC_modelo_ecf, m.code);
  EXPECT_EQ(BMTCLOCAL_flg_vers & 1, m.mfd ? 1 : 0);
  EXPECT_EQ(ECFBMTC_num_col_ecf, m.columns);
  EXPECT_EQ(ECFIF_cfg[5], m.columns);
  std::string name = m.name;
  name.resize(20, ' ');
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(ECFIF_cfg + 74), 20), name);
  EXPECT_NE(ECFIF_cfg[2] | ECFIF_cfg[3], 0);
  EXPECT_EQ(printer.count(57), 0);  // the serial number told the older models apart
  ASSERT_EQ(ECFIF_le_fabricacao(), 0);
  EXPECT_EQ(ECFIF_tam_retorno, 18);
  ASSERT_EQ(ECFIF_versao(), 0);
  EXPECT_EQ(ECFIF_tam_retorno, 24);
  // Filled once: asking again sends nothing.
  const auto sent = printer.commands.size();
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  EXPECT_EQ(printer.commands.size(), sent);
  // Every payment method, tax rate and totalizer of the generation.
  const bool mfd = m.mfd;
  const int methods = mfd ? 20 : 50;
  char method[17];
  for (int i = 0; i < methods; ++i) {
    ASSERT_EQ(ECFIF_le_forma_de_pagamento(i, method), 0) << i;
    EXPECT_EQ(std::strlen(method), 16u);
  }
  EXPECT_EQ(ECFIF_le_forma_de_pagamento(methods, method), 19);
  for (int i = 0; i < 22; ++i) {
    unsigned char entry[10];
    const int r = ECFIF_le_tributacao(i, entry);
    if (i >= 19 && !mfd) {
      EXPECT_EQ(r, 19) << i;
      continue;
    }
    ASSERT_EQ(r, 0) << i;
    EXPECT_EQ(entry[6], '.');
    EXPECT_TRUE(entry[0] == 0 || entry[0] == 20 || entry[0] == 99 || entry[0] >= 4) << i;
  }
  for (int i = 0; i < (mfd ? 30 : 52); ++i) {
    unsigned char record[18];
    ASSERT_EQ(ECFIF_le_cnf(i, record), 0) << i;
    EXPECT_EQ(record[0], 2);
  }
  EXPECT_GT(ECFIF_maximo_de_itens(), 0);
  EXPECT_GE(ECFIF_modo_multiplicacao(), 0);
}

INSTANTIATE_TEST_SUITE_P(Models, Identification,
                         ::testing::Values(Model{12, true, 48, "MP-4000 TH FI"},
                                           Model{5, true, 48, "MP-2000 TH FI"},
                                           Model{7, true, 48, "MP-7000 TH FI"},
                                           Model{10, true, 48, "4610-KN4"},
                                           Model{14, true, 48, "MP-6100 TH FI"},
                                           Model{1, false, 48, "ECF-IF MP-20 FI II"},
                                           Model{3, false, 40, "ECF-IF MP-40 FI II"}),
                         [](const auto &info) { return "code" + std::to_string(info.param.code); });

TEST_F(Config, ProgramsMethodsFromTheFileOnce) {
  EmulatedPrinter &p = connect();
  ScratchDir dir;
  const char *file = "BMTCFPAG.CFG";
  std::ofstream(file)
      << "# methods of this shop\n[FORMAS DE PAGAMENTO]\n01=Dinheiro\n02=Cartao Credito\n05=Pix\n";
  ASSERT_EQ(ECFBMTC_le_arquivo_CFG(file), 0);
  std::vector<std::string> names;
  for (int i = 0; i < 20; ++i) {
    char name[17];
    ASSERT_EQ(ECFIF_le_forma_de_pagamento(i, name), 0);
    names.emplace_back(name);
  }
  for (const char *wanted : {"Dinheiro        ", "Cartao Credito  ", "Pix             "})
    EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
  const int programmed = p.count(71);
  ASSERT_EQ(ECFBMTC_le_arquivo_CFG(file), 0);
  EXPECT_EQ(p.count(71), programmed);  // nothing sent twice
}

TEST_F(Config, ReportTextIsBufferedThenPrinted) {
  EmulatedPrinter &p = connect();
  BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC] = 4;
  ASSERT_EQ(ECFIF_imprime_linha("Primeira linha do relatorio"), 0);
  ASSERT_EQ(ECFIF_imprime_linha("Segunda linha"), 0);
  EXPECT_EQ(p.count(67) + p.count(20), 0);  // still buffered
  ASSERT_EQ(ECFIF_espaceja(0), 0);
  EXPECT_EQ(p.count(67), 1);  // no linked receipt open: the report takes it
  EXPECT_EQ(p.count(20), 1);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], 4);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_BUFFER_LINHAS], 0);
  EXPECT_EQ(p.printed("Primeira linha do relatorio"), 1);
  EXPECT_EQ(p.printed("Segunda linha"), 1);
}

// Every variable read of the discovery refused in turn: a failure that
// reaches the host leaves the record unfilled, and only then the next call
// asks again.
TEST_F(Config, EachRefusedReadIsPassedOnAndAskedAgain) {
  std::vector<int> variables;
  {
    EmulatedPrinter clean;
    ASSERT_EQ(ECFIF_pega_configuracao(), 0);
    for (std::size_t i = 0; i < clean.commands.size(); ++i)
      if (clean.commands[i] == 35) variables.push_back(i);
  }
  int passed_on = 0;
  for (int refused_at : variables) {
    SCOPED_TRACE("refused command " + std::to_string(refused_at));
    reset();
    EmulatedPrinter printer;
    int seen = 0;
    std::string variable;  // refused on every try
    printer.hook = [&](int c, std::string_view a) -> std::optional<ecfsim::Reply> {
      if (seen++ == refused_at) variable = a;
      if (variable != a) return std::nullopt;
      return printer.refusal(c, a, 0x08, 0x01);
    };
    const bool failed = ECFIF_pega_configuracao() != 0;
    passed_on += failed;
    printer.hook = nullptr;
    const auto sent = printer.commands.size();
    EXPECT_EQ(ECFIF_pega_configuracao(), 0);
    EXPECT_EQ(printer.commands.size() > sent, failed);
  }
  EXPECT_GT(passed_on, 0);
}

// A host that opens a receipt (or, restarted mid-sale, sells an item) before
// reading the configuration: the driver reads it first, so nothing is lost.
TEST_F(Config, FirstDocumentCommandsReadTheConfigurationFirst) {
  EmulatedPrinter printer(12);
  const auto forget_the_printer = [] {
    std::memset(ECFIF_cfg, 0, sizeof ECFIF_cfg);
    ECFBMTC_modelo_ecf = ECFBMTC_num_col_ecf = BMTCLOCAL_flg_vers = 0;
  };
  forget_the_printer();
  ECFIF_identifica_consumidor(1, "12345678909");
  ECFIF_identifica_consumidor(2, "Maria da Silva");
  ECFIF_identifica_consumidor(3, "Rua das Flores, 100");
  ASSERT_EQ(ECFIF_inicio_venda(), 0);
  EXPECT_EQ(ECFBMTC_num_col_ecf, 48);
  EXPECT_EQ(printer.printed("Maria da Silva"), 1);
  EXPECT_EQ(printer.printed("Rua das Flores, 100"), 1);

  forget_the_printer();
  EXPECT_EQ(ECFBMTC_registra_item("7891000100103", "Arroz", "01", "1000", "2190"), 0);
  EXPECT_EQ(printer.printed("Arroz"), 1);
  EXPECT_EQ(ECFIF_canc_cupom(), 0);
}

}  // namespace
}  // namespace ecftest
