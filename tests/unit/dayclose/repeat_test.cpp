// Each repeat code after a refusal at the step that sets it, or after that
// step's answer was lost: the operation or its repeat finishes it and its
// document is printed exactly once.
#include "day_printer.h"

namespace day_test {
namespace {

struct Repeticao {
  const char *nome;
  int comando_recusado;
  int codigo;
  std::function<int()> operacao;
  const char *no_papel;  // printed once in the end
  int estado_doc;        // recorded in the end
};

class RepeteTest : public DiaTest, public ::testing::WithParamInterface<Repeticao> {};

// The step interrupted, refused or with its answer lost after the printer
// carried it out; the operation or its repeat finishes it.
TEST_P(RepeteTest, TerminaOQueFoiInterrompido) {
  const Repeticao &c = GetParam();
  for (bool resposta_perdida : {false, true}) {
    SCOPED_TRACE(resposta_perdida);
    std::filesystem::remove("BMTCOOIN.TXT");  // each run a fresh day
    EmulatedPrinter &imp = connect(12);
    ECFIF_inicio_dia_com_lx = 1;
    if (c.codigo == 13 || c.codigo == 7) {
      ASSERT_EQ(ECFIF_inicio_venda(), 0);
      ASSERT_EQ(ECFBMTC_registra_item("1", "Arroz", "01", "1000", "1000"), 0);
      if (c.codigo == 7) {
        ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
        ASSERT_EQ(ECFBMTC_pagamento(1, "1000", "", ""), 0);
      }
    }
    if (resposta_perdida) {
      imp.lose_answer(c.comando_recusado);
      // Settled at once when the line allows.
      if (c.operacao() != 0) {
        EXPECT_EQ(ECFIF_repete(), 0);
      }
    } else {
      imp.refuse(c.comando_recusado, 1, ecfsim::st1::kPaperEnd, ecfsim::exec::kOutOfPaper);
      EXPECT_NE(c.operacao(), 0);
      EXPECT_EQ(ECFBMTCAUX_o_que_repetir, c.codigo);
      EXPECT_EQ(ECFIF_repete(), 0);
    }
    EXPECT_EQ(imp.printed(c.no_papel), 1) << c.no_papel;
    EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], c.estado_doc);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codigos, RepeteTest,
    ::testing::Values(
        // The opening's Reading X refused: the whole opening runs again.
        Repeticao{"AberturaInteira", 6, 1, ECFIF_abre_com_relat, "LEITURA X", 4},
        // The report refused after the opening: only the report opens again.
        Repeticao{"SoORelatorio", 83, 1, ECFIF_abre_com_relat, "LEITURA X", 4},
        Repeticao{"LeituraX", 6, 11, ECFIF_leitura_x_com_relat, "LEITURA X", 4},
        Repeticao{"RelatorioDaLeituraX", 83, 11, ECFIF_leitura_x_com_relat, "LEITURA X", 4},
        Repeticao{"ReducaoZ", 5, 12, ECFIF_reducao_z, "REDUCAO Z", 0},
        Repeticao{"InicioVenda", 0, 10, ECFIF_inicio_venda, "CUPOM FISCAL", 1},
        Repeticao{"Total", 32, 13, [] { return ECFIF_imprime_total(nullptr); }, "SUBTOTAL R$", 1},
        Repeticao{"FimVenda", 34, 7, ECFIF_fim_venda, "ECF-IF", 0}),
    [](const auto &info) { return std::string(info.param.nome); });

TEST_F(DiaTest, SemComandoPendenteNadaESentado) {
  EmulatedPrinter &imp = connect(12);
  ECFIF_libera_memoria();
  EXPECT_EQ(ECFIF_repete(), 44);
  EXPECT_TRUE(imp.commands.empty());
}

}  // namespace
}  // namespace day_test
