// A year of fiscal memory through ecfctl, the host kit and the driver against
// the emulator on a pseudo-terminal: streamed, exported and signed, printed,
// the printed reading downloaded from the detail tape through the stand-in
// programs, and an act file record.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/daily_reductions.h"
#include "core/printer.h"
#include "sale_harness.h"

namespace sale_test {
namespace {

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

using MemoryEcfctl = TillTest<>;

TEST_F(MemoryEcfctl, AYearStreamedExportedPrintedAndDownloaded) {
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
}  // namespace sale_test
