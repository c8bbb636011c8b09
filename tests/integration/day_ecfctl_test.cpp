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

class DayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.path().empty());
    // Ten minutes of printing after the reduction: the till is killed in it.
    emulator_ = std::make_unique<Emulator>(
        dir_, std::vector<std::string>{"--model", "MP-4000 TH FI", "--reduction-busy", "600000"});
    ASSERT_TRUE(emulator_->start()) << emulator_->messages();
  }

  std::vector<std::string> with_options(std::vector<std::string> args) {
    std::vector<std::string> all = {
        "--device",   emulator_->device(),     "--state",    dir_.file("ecfctl.state"),
        "--log-file", dir_.file("driver.log"), "--log-mode", "3",
        "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
    return all;
  }
  Output ecfctl(std::vector<std::string> args) {
    return run(bin_dir() + "/ecfctl", with_options(std::move(args)), dir_.path());
  }
  // Read beside the running ecfctl, as a restarted till would find it.
  int saved_day_state() {
    std::array<uint8_t, kDayState + 1> record{};
    ecfctl::SavedState saved{record, 0};
    ecfctl::StateFile file(dir_.file("ecfctl.state"));
    return file.load(saved).status == ecfctl::LoadStatus::Loaded ? record[kDayState] : -1;
  }

  TempDir dir_;
  std::unique_ptr<Emulator> emulator_;
};

TEST_F(DayTest, TillKilledWhileTheReductionPrintsRepeatsNothing) {
  ASSERT_EQ(ecfctl({"open-day"}).exit_code, 0);
  write_file(dir_.file("sale.txt"), "open\nitem 1 Arroz 01 1 10.00\ntotal\npay 1 10.00\nclose\n");
  ASSERT_EQ(ecfctl({"sale", dir_.file("sale.txt")}).exit_code, 0);
  ASSERT_EQ(ecfctl({"x", "Caixa 1"}).exit_code, 0) << read_file(dir_.file("driver.log"));
  EXPECT_EQ(count_of(emulator_->paper(), "Caixa 1"), 1u);
  EXPECT_EQ(saved_day_state(), 6);

  Process z(bin_dir() + "/ecfctl", with_options({"z"}), dir_.path());
  ASSERT_TRUE(emulator_->wait_for_paper("REDUCAO Z", 1, 30s));
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
  EXPECT_EQ(count_of(emulator_->paper(), "REDUCAO Z"), 1u);
}

}  // namespace
