#include <gtest/gtest.h>

#include "wire/frame.h"
#include "wire_test_support.h"

#ifdef ECFSIM_PROGRAM

#include "program_support.h"

namespace ecfsim {
namespace {

using test::EcfsimProcess;
using test::TempDir;

const std::string kOpenReceipt = build_frame(kStartBasic, 0, "");
const std::string kReadFlags = build_frame(kStartBasic, 35, std::string(1, '\x11'));

// Variable 17 answers data first: 06, flags, ST1, ST2.
bool receipt_open(EcfsimProcess &sim) {
  const std::string answer = sim.exchange(kReadFlags, 4);
  EXPECT_EQ(answer.size(), 4u);
  return answer.size() == 4 && (answer[1] & 0x01) != 0;
}

class ProgramStateTest : public testing::Test {
 protected:
  void start() {
    ASSERT_TRUE(sim.start({"--state", state, "--paper", paper}));
    ASSERT_TRUE(sim.open_terminal());
  }

  TempDir dir;
  std::string state = dir.file("printer.state");
  std::string paper = dir.file("paper.txt");
  EcfsimProcess sim;
};

struct StopCase {
  const char *name;
  int signal;
  int status;
};

class ProgramStateSurvives : public ProgramStateTest,
                             public testing::WithParamInterface<StopCase> {};

TEST_P(ProgramStateSurvives, OpenReceiptAcrossARestart) {
  start();
  ASSERT_FALSE(receipt_open(sim));
  const std::string opened = sim.exchange(kOpenReceipt, 3);
  ASSERT_EQ(opened.size(), 3u);
  ASSERT_EQ(opened[2] & 0x01, 0) << "receipt not opened";
  ASSERT_TRUE(receipt_open(sim));
  EXPECT_EQ(sim.stop(GetParam().signal), GetParam().status);

  EcfsimProcess again;
  ASSERT_TRUE(again.start({"--state", state, "--paper", paper}));
  ASSERT_TRUE(again.open_terminal());
  EXPECT_TRUE(receipt_open(again));
  EXPECT_EQ(again.stop(), 0);
  EXPECT_FALSE(std::filesystem::exists(state + ".tmp"));
  EXPECT_GT(std::filesystem::file_size(paper), 0u);  // the opened receipt is on paper
}

INSTANTIATE_TEST_SUITE_P(Program, ProgramStateSurvives,
                         testing::Values(StopCase{"clean_stop", SIGTERM, 0},
                                         // A power cut: no chance to save on the way out.
                                         StopCase{"power_cut", SIGKILL, 128 + SIGKILL}),
                         [](const testing::TestParamInfo<StopCase> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace ecfsim

#endif
