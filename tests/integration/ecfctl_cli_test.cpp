// What ecfctl and ecfsim tell a user: versions, the models, the printer's
// reasons for a refusal, text in UTF-8, its information, sensor, drawer and
// clock commands, and how a signal stops a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sale_harness.h"

namespace {

using namespace sale_test;

TEST(ProgramsExplainThemselves, VersionsAndTheModelList) {
  TempDir dir;
  for (const char *program : {"ecfctl", "ecfsim"}) {
    Output v = run(bin_dir() + "/" + program, {"--version"}, dir.path());
    EXPECT_EQ(v.exit_code, 0) << program;
    EXPECT_EQ(v.out.rfind(std::string(program) + " 1.", 0), 0u) << v.out;
  }
  Output help = run(bin_dir() + "/ecfsim", {"--help"}, dir.path());
  EXPECT_EQ(help.exit_code, 0);
  for (const char *model : {"MP-20 FI II", "MP-50 FI", "MP-4000 TH FI", "BR6000-TH", "4610-KN4"})
    EXPECT_NE(help.out.find(model), std::string::npos) << model;
}

using EcfctlTest = TillTest<>;

// One receipt in single commands, each run a new process that knows nothing
// of the printer yet. The driver takes Latin-1; the user types and reads UTF-8.
TEST_F(EcfctlTest, OneReceiptInSingleCommands) {
  ASSERT_TRUE(start({"--model", "12"})) << log();
  // A run whose record cannot be saved says so: 4 blocks of file size are too
  // small for the state file. The limit would also cut the data a coverage
  // build writes at exit, and spoil it for every later run: that goes to the
  // scratch folder.
  Output unsaved = run(
      "/bin/sh",
      {"-c", "ulimit -f 4 && GCOV_PREFIX=\"$PWD/gcov\" exec \"$0\" \"$@\"", bin_dir() + "/ecfctl",
       "--device", device_, "--state", dir_.file("new.state"), "consumer", "123"},
      dir_.path());
  EXPECT_EQ(unsaved.exit_code, 3);
  EXPECT_NE(unsaved.err.find("not saved"), std::string::npos) << unsaved.err;
  EXPECT_EQ(unsaved.err.find("saved in"), std::string::npos) << unsaved.err;

  Output rates = ecfctl({"rates"});
  ASSERT_EQ(rates.exit_code, 0) << rates.err;
  EXPECT_NE(rates.out.find("FF  tax substitution 00.00%"), std::string::npos) << rates.out;
  EXPECT_NE(rates.out.find("SN  not taxed"), std::string::npos) << rates.out;  // MFD entries
  EXPECT_NE(rates.out.find("01  IC"), std::string::npos) << rates.out;

  ASSERT_EQ(
      ecfctl({"consumer", "123.456.789-09", "Maria da Silva", "Rua das Flores, 100"}).exit_code, 0);
  ASSERT_EQ(ecfctl({"open"}).exit_code, 0) << log();
  std::string before = paper();
  EXPECT_NE(before.find("Maria da Silva"), std::string::npos) << before;
  EXPECT_NE(before.find("Rua das Flores, 100"), std::string::npos) << before;

  Output euro = ecfctl({"item", "1", "5 \u20ac", "01", "1", "2.50"});
  EXPECT_EQ(euro.exit_code, 2);
  EXPECT_NE(euro.err.find("'\u20ac' (U+20AC) has no Latin-1 form"), std::string::npos) << euro.err;
  EXPECT_EQ(paper(), before);
  ASSERT_EQ(ecfctl({"item", "1", "P\u00e3o de a\u00e7\u00facar", "01", "1", "2.50"}).exit_code, 0);
  EXPECT_EQ(printed("P\u00e3o de a\u00e7\u00facar"), 1u) << paper();

  Output close = ecfctl({"close"});
  EXPECT_NE(close.err.find("ST2 01h (command not executed)"), std::string::npos) << close.err;
  // A method programmed with accents is found by the name as typed.
  ASSERT_EQ(ecfctl({"add-method", "Cart\u00e3o"}).exit_code, 0);
  ASSERT_EQ(ecfctl({"total"}).exit_code, 0);
  ASSERT_EQ(ecfctl({"pay", "1", "1.00"}).exit_code, 0);
  close = ecfctl({"close"});
  EXPECT_NE(close.err.find("hint: paid 1,00 of 2,50"), std::string::npos) << close.err;
  Output item = ecfctl({"--protocol", "extended", "item", "2", "Pao", "01", "1", "1.00"});
  EXPECT_NE(item.err.find("execution status 169 (already totalled: pay or close)"),
            std::string::npos)
      << item.err;
  Output pay = ecfctl({"pay", "CART\u00c3O", "1.50"});
  EXPECT_EQ(pay.exit_code, 0) << pay.err;
  ASSERT_EQ(ecfctl({"close"}).exit_code, 0) << log();

  // A cancel never reaches a finished receipt unless asked to by name.
  before = paper();
  Output cancel = ecfctl({"cancel"});
  EXPECT_NE(cancel.exit_code, 0);
  EXPECT_NE(cancel.err.find("no receipt is open"), std::string::npos) << cancel.err;
  EXPECT_EQ(paper(), before);
  Output last = ecfctl({"cancel-last"});
  EXPECT_EQ(last.exit_code, 0) << last.err;
  EXPECT_NE(last.out.find("cancel-last: receipt COO 0"), std::string::npos) << last.out;
  EXPECT_NE(paper(), before);
}

TEST_F(EcfctlTest, InfoSensorsDrawerClockAndDaylightSaving) {
  ASSERT_TRUE(start({"--model", "MP-4000 TH FI", "--protocol", "extended"})) << log();
  options_ = {"--protocol", "extended"};
  Output info = ecfctl({"info", "62", "53", "500"});
  EXPECT_EQ(info.exit_code, 1) << info.err;
  EXPECT_NE(info.out.find("62 national model code: 21\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("53 Reductions Z (CRZ): 0000\n"), std::string::npos) << info.out;
  EXPECT_NE(info.err.find("info 500: failed, result 15"), std::string::npos) << info.err;
  EXPECT_EQ(ecfctl({"info", "x"}).exit_code, 2);

  Output drawer = ecfctl({"drawer"});
  EXPECT_EQ(drawer.out, "drawer: open\n") << drawer.err;
  Output sensors = ecfctl({"sensors"});
  EXPECT_EQ(sensors.out, "drawer: closed\npaper end: no\nsensor of variable 20: off\n")
      << sensors.err;

  EXPECT_NE(ecfctl({"clock"}).out.find(", daylight saving off"), std::string::npos);
  EXPECT_EQ(ecfctl({"dst", "on"}).exit_code, 0);
  EXPECT_NE(ecfctl({"clock"}).out.find(", daylight saving on"), std::string::npos);
  EXPECT_EQ(ecfctl({"clock", "--set"}).exit_code, 1);
  EXPECT_EQ(ecfctl({"dst", "maybe"}).exit_code, 2);
}

// Stopped between two items, the sale goes on from the line ecfctl names, on
// the printer restarted without its delay.
TEST_F(EcfctlTest, SignalStopsBeforeTheNextPrinterCallAndSaysWhere) {
  ASSERT_TRUE(start({"--model", "12", "--delay", "200"})) << log();
  const std::string sale = script(
      "open\nitem 1 Laranja 01 1 1.00\nitem 2 Mamao 01 1 1.00\nitem 3 Goiaba 01 1 1.00\n"
      "total\npay 1 3.00\nclose\n");
  Process p(bin_dir() + "/ecfctl", with_options({"sale", sale}), dir_.path());
  ASSERT_TRUE(wait_for_paper("Laranja", 60s));
  p.signal(SIGTERM);
  Output o = p.finish(Clock::now() + 20s);
  EXPECT_EQ(o.exit_code, 130) << o.err;
  EXPECT_NE(o.err.find("no printer call started after it; the record is saved in"),
            std::string::npos)
      << o.err;
  EXPECT_EQ(printed("Goiaba"), 0u);
  const size_t from = o.err.find("--from ");
  ASSERT_NE(from, std::string::npos) << o.err;

  ASSERT_TRUE(start({"--model", "12"})) << log();
  Output rest = ecfctl({"sale", sale, "--from", std::to_string(std::atoi(&o.err[from + 7]))});
  ASSERT_EQ(rest.exit_code, 0) << rest.out << rest.err << log();
  for (const char *item : {"Laranja", "Mamao", "Goiaba"}) EXPECT_EQ(printed(item), 1u) << item;
  EXPECT_NE(ecfctl({"status"}).out.find("no document open"), std::string::npos);
}

// The configuration read is one driver call of a dozen commands: a signal
// ends it after the command in progress, not after all of them (~17 s).
TEST_F(EcfctlTest, SignalEndsALongDriverCallAfterItsCurrentCommand) {
  ASSERT_TRUE(start({"--model", "12", "--delay", "1500"})) << log();
  Process p(bin_dir() + "/ecfctl", with_options({"config"}), dir_.path());
  const auto sent_deadline = Clock::now() + 30s;
  while (read_file(dir_.file("driver.log")).find("b35[") == std::string::npos &&
         Clock::now() < sent_deadline)
    ::poll(nullptr, 0, 10);
  const auto signalled = Clock::now();
  p.signal(SIGINT);
  Output o = p.finish(signalled + 30s);
  EXPECT_LT(Clock::now() - signalled, 8s);
  EXPECT_EQ(o.exit_code, 130) << o.err;
  EXPECT_NE(o.err.find("interrupted"), std::string::npos) << o.err;
}

}  // namespace
