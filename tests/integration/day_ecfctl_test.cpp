// The fiscal day through ecfctl against the emulator on a pseudo-terminal: a
// till killed while the printer prints its Reduction Z finds, after the
// restart, the day reduced in its saved record and reduces nothing twice.
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <string>
#include <vector>

#include "sale_harness.h"
#include "state_file.h"

namespace {

using namespace sale_test;

constexpr size_t kDayState = 2558;  // estado_dia in the record

class DayTest : public TillTest<> {
 protected:
  // Read beside the running ecfctl, as a restarted till would find it.
  int saved_day_state() {
    std::array<uint8_t, kDayState + 1> record{};
    ecfctl::SavedState saved{record, 0};
    ecfctl::StateFile file(dir_.file("ecfctl.state"));
    return file.load(saved).status == ecfctl::LoadStatus::Loaded ? record[kDayState] : -1;
  }
};

TEST_F(DayTest, TillKilledWhileTheReductionPrintsRepeatsNothing) {
  // Ten minutes of printing after the reduction: the till is killed in it.
  ASSERT_TRUE(start({"--model", "MP-4000 TH FI", "--reduction-busy", "600000"})) << log();
  options_ = {"--quiet"};
  ASSERT_EQ(ecfctl({"open-day"}).exit_code, 0);
  ASSERT_EQ(ecfctl({"sale", script("open\nitem 1 Arroz 01 1 10.00\ntotal\npay 1 10.00\nclose\n")})
                .exit_code,
            0);
  ASSERT_EQ(ecfctl({"x", "Caixa 1"}).exit_code, 0) << log();
  EXPECT_EQ(printed("Caixa 1"), 1u);
  EXPECT_EQ(saved_day_state(), 6);

  Process z(bin_dir() + "/ecfctl", with_options({"z"}), dir_.path());
  ASSERT_TRUE(wait_for_paper("REDUCAO Z", 30s));
  const auto deadline = Clock::now() + 30s;
  while (saved_day_state() != 5 && Clock::now() < deadline) ::poll(nullptr, 0, 10);
  EXPECT_EQ(saved_day_state(), 5);
  z.signal(SIGKILL);
  z.finish(Clock::now() + 10s);

  // The restarted till: nothing to repeat, nothing sent again.
  Output repeat = ecfctl({"repeat"});
  EXPECT_EQ(repeat.exit_code, 1);
  EXPECT_NE(repeat.err.find("result 44"), std::string::npos) << repeat.err;
  Output state = ecfctl({"state"});
  EXPECT_NE(state.out.find("document: 0 "), std::string::npos) << state.out;
  EXPECT_NE(state.out.find("day: 5"), std::string::npos) << state.out;
  EXPECT_EQ(printed("REDUCAO Z"), 1u);
}

}  // namespace
