// A whole fiscal day against the emulated printer, in both protocols, on an
// MFD model and an older one: opening, a sale, Reading X, Reduction Z, the
// reduction's figures, and the next morning's turn.
#include <fstream>

#include "day_printer.h"

namespace day_test {
namespace {

using DiaInteiro = ecftest::EachModelAndProtocol;

std::string valor(const unsigned char *registro, int slot) {
  char texto[32] = {};
  _8toa(texto, registro + 8 * slot);
  return texto;
}

TEST_P(DiaInteiro, DaAberturaAReducaoEAoDiaSeguinte) {
  EmulatedPrinter &imp = *printer;
  imp.run_clock_from(momento(2026, 12, 4, 9, 0));

  ASSERT_EQ(ECFIF_abre(), 0);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DIA], 6);
  EXPECT_TRUE(std::ifstream("BMTCOOIN.TXT").good());
  EXPECT_EQ(ECFIF_verifica(), 0);
  ASSERT_EQ(ecftest::sell_one("1000"), 0);
  ASSERT_EQ(ECFIF_leitura_x(), 0);

  // The next morning the day must be reduced first.
  imp.run_clock_from(momento(2026, 12, 5, 1, 59, 30));
  EXPECT_EQ(ECFIF_verifica(), 0);
  imp.run_clock_from(momento(2026, 12, 5, 2, 0));
  EXPECT_EQ(ECFIF_verifica(), 16);

  ASSERT_EQ(ECFIF_reducao_z(), 0);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DIA], 5);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], 0);
  EXPECT_EQ(ECFIF_verifica(), 0);
  EXPECT_EQ(imp.printed("LEITURA X"), 1);
  EXPECT_EQ(imp.printed("REDUCAO Z"), 1);
  // A Reading X right after the reduction leaves the document state alone.
  BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC] = 9;
  ASSERT_EQ(ECFIF_leitura_x(), 0);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], 9);

  unsigned char registro[120 * 8] = {};
  if (!mfd()) {
    EXPECT_EQ(ECFIF_le_rz(registro), 15);
    return;
  }
  ASSERT_EQ(ECFIF_le_rz(registro), 0);
  EXPECT_EQ(valor(registro, 0), "4122026");  // the reduced day
  EXPECT_EQ(valor(registro, 3), "1");        // CRZ
  EXPECT_EQ(valor(registro, 6), "1000");     // grand total
  EXPECT_EQ(valor(registro, 5), "0");        // nothing before the day
  EXPECT_EQ(valor(registro, 19), "4");       // the COO after the reduction's
  EXPECT_EQ(valor(registro, 40), "1000");    // rate 01
  EXPECT_EQ(valor(registro, 60), "1800");
}

INSTANTIATE_TEST_SUITE_P(ModelosEProtocolos, DiaInteiro, ecftest::each_model_and_protocol(),
                         ecftest::model_and_protocol);

}  // namespace
}  // namespace day_test
