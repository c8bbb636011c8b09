// A whole sale against the emulator in both protocols, diffed against the
// transcripts checked in beside this file. After an intended protocol change
// regenerate them with
//   ECF_UPDATE_TRANSCRIPTS=1 build/default/bin/driver_unit_tests --gtest_filter='*Transcript*'
// and review the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "emulated_printer.h"
#include "sale/sale_steps.h"

namespace ecftest {
namespace {

std::string golden_path(const std::string &name) {
  return std::string(ECF_TEST_SOURCE_DIR) + "/unit/sale/transcripts/" + name + ".txt";
}

class Transcript : public ::testing::TestWithParam<bool> {};

TEST_P(Transcript, WholeSale) {
  const bool extended = GetParam();
  fresh_driver(extended);
  EmulatedPrinter printer;
  std::string run;
  for (const auto &step : whole_sale()) {
    ASSERT_EQ(step.call(), 0) << step.name;
    run += "# " + std::string(step.name) + "\n" + printer.take_transcript();
  }
  EXPECT_EQ(printer.printed("Cafe torrado"), 1);
  EXPECT_EQ(printer.printed("Volte sempre"), 1);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], 0);
  // The card payment is kept for a linked receipt: amount and method name.
  const char *card = reinterpret_cast<const char *>(BMTCLOCAL_d + BMTCLOCAL_D_PAGTOS_VINCULAVEIS);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_QTD_PAGTOS_VINCULAVEIS], 1);
  EXPECT_EQ(std::string(card + 7, 14), "00000000001750");
  EXPECT_EQ(std::string(card + 22, 16), "Cartao Credito  ");

  const std::string path = golden_path(extended ? "sale_extended" : "sale_basic");
  if (std::getenv("ECF_UPDATE_TRANSCRIPTS") != nullptr) {
    std::ofstream(path, std::ios::binary) << run;
    GTEST_SKIP() << "rewrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(run, golden.str()) << "the run differs from " << path;
}

INSTANTIATE_TEST_SUITE_P(Protocols, Transcript, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Extended" : "Basic"; });

}  // namespace
}  // namespace ecftest
