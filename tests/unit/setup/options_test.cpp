// Host options and the settings they set.
#include <gtest/gtest.h>

#include "driver_test.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "platform/test_platform.h"

namespace ecftest {
namespace {

struct OptionCase {
  const char *arg;
  int *setting;
  int value;
};

using OptionRules = DriverTest;

class OptionsTest : public OptionRules, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionsTest, SetsItsSetting) {
  const OptionCase &c = GetParam();
  EXPECT_EQ(ECFIF_tratou_argumento(c.arg), 1);
  EXPECT_EQ(*c.setting, c.value) << c.arg;
  EXPECT_TRUE(host().common_args.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, OptionsTest,
    ::testing::Values(
        OptionCase{"ECFBMTC_FLAGS=1", &ECFBMTC_flags, 1},
        OptionCase{"ECFBMTC_FLAGS=19abc", &ECFBMTC_flags, 19},
        OptionCase{"ECFBEMATECH_GAVETA_FECHADA", &ECFBMTCAUX_logica_gaveta, 1},
        OptionCase{"ECFBEMATECH_MULTIPLIC=2", &ECFBMTCAUX_forca_multiplicacao, 2},
        OptionCase{"ECFBEMATECH_PROTOCOLO=1", &ECFBMTCAUX_modo_protocolo, 1},
        OptionCase{"ECFBEMATECH_CODIGO_CBRANCO", &ECFBMTCAUX_codigo_cbranco, 1},
        OptionCase{"ECFBEMATECH_ACERTA_RELOGIO", &ECFBMTCAUX_acerta_relogio, 1},
        OptionCase{"ECFBEMATECH_MODO_ACERTA_RELOGIO=3", &ECFBMTCAUX_modo_acerta_relogio, 3},
        OptionCase{"ECFBEMATECH_DESATIVA_CORTE_EM_DOCUMENTO", &ECFBMTCAUX_desativa_corte, 1},
        OptionCase{"ECFBEMATECH_REGITEM_NLINHA=2", &ECFBMTCAUX_regitem_nlinha, 2},
        OptionCase{"ECFBEMATECH_TIPO_CODBAR=5", &ECFBMTCAUX_tipo_codbar, 5},
        OptionCase{"ECFBEMATECH_MARGEM_CODBAR=7", &ECFBMTCAUX_margem_codbar, 7},
        OptionCase{"ECFBEMATECH_ALTURA_CODBAR=80", &ECFBMTCAUX_altura_codbar, 80},
        OptionCase{"ECFBEMATECH_BARRA_CODBAR=3", &ECFBMTCAUX_barra_codbar, 3},
        OptionCase{"ECFBEMATECH_FONTE_CODBAR=1", &ECFBMTCAUX_fonte_codbar, 1},
        OptionCase{"ECFBEMATECH_POSTXT_CODBAR=0", &ECFBMTCAUX_pos_txt_codbar, 0},
        OptionCase{"ECFBEMATECH_MAXIMO_DE_ITENS=500", &ECFBMTCAUX_forca_maximo_de_itens, 500},
        // Flags are whole words: a longer word sets nothing.
        OptionCase{"ECFBEMATECH_GAVETA_FECHADAX", &ECFBMTCAUX_logica_gaveta, 0},
        OptionCase{"ECFBEMATECH_ACERTA_RELOGIO=1", &ECFBMTCAUX_acerta_relogio, 0},
        // An unknown word after the prefix is claimed and changes nothing.
        OptionCase{"ECFBEMATECH_NADA=5", &ECFBMTCAUX_modo_protocolo, 0}));

TEST_F(OptionRules, OtherOptionsGoToTheHost) {
  host().common_result = 7;
  EXPECT_EQ(ECFIF_tratou_argumento("PORTA=2"), 7);
  host().common_result = 0;
  EXPECT_EQ(ECFIF_tratou_argumento("ECFBMTC_FLAG=1"), 0);
  EXPECT_EQ(host().common_args, (std::vector<std::string>{"PORTA=2", "ECFBMTC_FLAG=1"}));
  EXPECT_EQ(ECFIF_tratou_argumento(nullptr), 0);
  EXPECT_EQ(host().common_args.size(), 2u);
}

}  // namespace
}  // namespace ecftest
