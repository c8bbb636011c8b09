// The fiscal day and the fiscal memory through ecfctl, the host kit and the
// driver against the emulator on a pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "core/daily_reductions.h"
#include "core/printer.h"
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

// A till killed while the printer prints its Reduction Z finds, after the
// restart, the day reduced in its saved record and reduces nothing twice.
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

// The printer's memory after one Reduction Z a day through 2026.
std::string a_year_of_reductions(std::string &streamed) {
  ecfsim::PrinterConfig c;
  c.model_code = 12;
  c.reduction_busy_ms = 0;
  ecfsim::Printer p(c);
  ecfsim::make_daily_reductions(p, 365);
  streamed = p.execute(8, "000001000365R").data;
  return p.save();
}

// A year of fiscal memory streamed, exported and signed, printed, the printed
// reading downloaded from the detail tape through the stand-in programs, and
// an act file record.
TEST_F(DayTest, AYearOfMemoryStreamedExportedPrintedAndDownloaded) {
  std::string year;
  write_file(dir_.file("printer.state"), a_year_of_reductions(year));
  for (const char *program : {"LinuxMFD", "bemamfd", "bemamfd2"})
    std::filesystem::create_symlink(bin_dir() + "/" + program, dir_.file(program));
  write_file(dir_.file("sign.sh"),
             "#!/bin/sh\nprintf '%s\\n' \"$@\" > sign.args\nmv \"$1\" \"$2\"\n");
  ::chmod(dir_.file("sign.sh").c_str(), 0755);
  ASSERT_TRUE(start({"--model", "12"})) << log();
  options_ = {"--quiet", "--log-mode", "0"};

  const Output streamed = ecfctl({"memory", "reductions", "0001", "0365"});
  ASSERT_EQ(streamed.exit_code, 0) << streamed.err;
  EXPECT_TRUE(streamed.out == year) << streamed.out.size() << " bytes, expected " << year.size();

  const std::string out = dir_.file("year.txt");
  const Output exported = ecfctl({"memory", "dates", "010126", "311226", "--out", out,
                                  "--sign-command", dir_.file("sign.sh")});
  ASSERT_EQ(exported.exit_code, 0) << exported.err;
  EXPECT_TRUE(read_file(out) == year);
  EXPECT_EQ(read_file(dir_.file("sign.args")), "GER_LEIT.TXT\n" + out + "\n");

  // The printed reading is document 366; its lines come back from the tape.
  ASSERT_EQ(ecfctl({"memory", "reductions", "0001", "0365", "--print"}).exit_code, 0);
  ASSERT_TRUE(wait_for_paper("COO:000366", 10s));
  const Output tape = ecfctl({"tape", "coo", "000366", "000366", dir_.file("tape.txt")});
  ASSERT_EQ(tape.exit_code, 0) << tape.err;
  const std::string downloaded = read_file(dir_.file("tape.txt"));
  EXPECT_GT(downloaded.size(), year.size());
  EXPECT_NE(paper().find(downloaded), std::string::npos);

  const Output act = ecfctl({"act-file", "E11", dir_.file("e11.txt")});
  ASSERT_EQ(act.exit_code, 0) << act.err;
  const std::string e11 = read_file(dir_.file("e11.txt"));
  EXPECT_EQ(e11.size(), 137u);
  EXPECT_EQ(e11.substr(0, 3), "E11");
  EXPECT_EQ(e11.substr(44, 6), "000365");
}

}  // namespace
