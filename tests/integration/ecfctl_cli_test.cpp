// What ecfctl and ecfsim tell a user: versions, the models, and a cancel that
// never reaches a finished receipt unless asked to by name.
#include <gtest/gtest.h>

#include <memory>
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

class EcfctlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    emulator_ = std::make_unique<Emulator>(dir_, std::vector<std::string>{"--model", "12"});
    ASSERT_TRUE(emulator_->start()) << emulator_->messages();
  }
  Output ecfctl(std::vector<std::string> args) {
    std::vector<std::string> all = {"--device", emulator_->device(), "--state",
                                    dir_.file("ecfctl.state")};
    all.insert(all.end(), args.begin(), args.end());
    return run(bin_dir() + "/ecfctl", all, dir_.path());
  }

  TempDir dir_;
  std::unique_ptr<Emulator> emulator_;
};

TEST_F(EcfctlTest, CancelTakesOnlyAnOpenReceiptAndCancelLastNamesTheFinishedOne) {
  write_file(dir_.file("sale.txt"),
             "open\nitem 1 \"Agua mineral\" 01 1 2.50\ntotal\n"
             "pay 1 2.50\nclose\n");
  Output sale = ecfctl({"sale", dir_.file("sale.txt")});
  ASSERT_EQ(sale.exit_code, 0) << sale.out << sale.err;
  const std::string before = emulator_->paper();

  Output cancel = ecfctl({"cancel"});
  EXPECT_NE(cancel.exit_code, 0);
  EXPECT_NE(cancel.err.find("no receipt is open"), std::string::npos) << cancel.err;
  EXPECT_EQ(emulator_->paper(), before);  // nothing printed, nothing cancelled

  Output last = ecfctl({"cancel-last"});
  EXPECT_EQ(last.exit_code, 0) << last.err;
  EXPECT_NE(last.out.find("cancel-last: receipt COO 0"), std::string::npos) << last.out;
  EXPECT_NE(emulator_->paper(), before);
}

}  // namespace

namespace {

TEST_F(EcfctlTest, RatesListTheTaxCodesItemsTake) {
  Output rates = ecfctl({"rates"});
  ASSERT_EQ(rates.exit_code, 0) << rates.err;
  EXPECT_NE(rates.out.find("FF  tax substitution 00.00%"), std::string::npos) << rates.out;
  EXPECT_NE(rates.out.find("SN  not taxed"), std::string::npos) << rates.out;  // MFD entries
  EXPECT_NE(rates.out.find("01  IC"), std::string::npos) << rates.out;
}

}  // namespace

namespace {

// Each run is a new process that knows nothing of the printer yet.
TEST_F(EcfctlTest, ConsumerGivenInOneRunIsPrintedByTheOpeningInTheNext) {
  ASSERT_EQ(
      ecfctl({"consumer", "123.456.789-09", "Maria da Silva", "Rua das Flores, 100"}).exit_code, 0);
  Output open = ecfctl({"open"});
  ASSERT_EQ(open.exit_code, 0) << open.err;
  const std::string paper = emulator_->paper();
  EXPECT_NE(paper.find("Maria da Silva"), std::string::npos) << paper;
  EXPECT_NE(paper.find("Rua das Flores, 100"), std::string::npos) << paper;
  EXPECT_EQ(ecfctl({"cancel"}).exit_code, 0);
}

}  // namespace

namespace {

TEST_F(EcfctlTest, RefusalsNameThePrintersReason) {
  ASSERT_EQ(ecfctl({"open"}).exit_code, 0);
  ASSERT_EQ(ecfctl({"item", "1", "Agua", "01", "1", "2.50"}).exit_code, 0);
  Output close = ecfctl({"close"});
  EXPECT_NE(close.err.find("ST2 01h (command not executed)"), std::string::npos) << close.err;
  ASSERT_EQ(ecfctl({"total"}).exit_code, 0);
  ASSERT_EQ(ecfctl({"pay", "1", "1.00"}).exit_code, 0);
  close = ecfctl({"close"});
  EXPECT_NE(close.err.find("hint: paid 1,00 of 2,50"), std::string::npos) << close.err;
  Output item = ecfctl({"--protocol", "extended", "item", "2", "Pao", "01", "1", "1.00"});
  EXPECT_NE(item.err.find("execution status 169 (already totalled: pay or close)"),
            std::string::npos)
      << item.err;
  EXPECT_EQ(ecfctl({"cancel"}).exit_code, 0);
}

}  // namespace

namespace {

// The driver takes Latin-1; the user types and reads UTF-8.
TEST_F(EcfctlTest, TextReachesThePrinterAsLatin1AndWhatItCannotHoldIsRefused) {
  ASSERT_EQ(ecfctl({"open"}).exit_code, 0);
  const std::string before = emulator_->paper();
  Output euro = ecfctl({"item", "1", "5 \u20ac", "01", "1", "2.50"});
  EXPECT_EQ(euro.exit_code, 2);
  EXPECT_NE(euro.err.find("'\u20ac' (U+20AC) has no Latin-1 form"), std::string::npos) << euro.err;
  EXPECT_EQ(emulator_->paper(), before);
  ASSERT_EQ(ecfctl({"item", "1", "P\u00e3o de a\u00e7\u00facar", "01", "1", "2.50"}).exit_code, 0);
  const std::string paper = emulator_->paper();
  EXPECT_TRUE(paper.find("P\xE3o de a\xE7\xFA"
                         "car") != std::string::npos ||
              paper.find("P\u00e3o de a\u00e7\u00facar") != std::string::npos)
      << paper;
  // A method programmed with accents is found by the name as typed.
  ASSERT_EQ(ecfctl({"add-method", "Cart\u00e3o"}).exit_code, 0);
  ASSERT_EQ(ecfctl({"total"}).exit_code, 0);
  Output pay = ecfctl({"pay", "CART\u00c3O", "2.50"});
  EXPECT_EQ(pay.exit_code, 0) << pay.err;
  EXPECT_EQ(ecfctl({"close"}).exit_code, 0);
}

TEST_F(EcfctlTest, AFailedSaveSaysNotSaved) {
  // 4 blocks of file size: too small for the state file.
  Output o = run("/bin/sh",
                 {"-c", "ulimit -f 4 && exec \"$0\" \"$@\"", bin_dir() + "/ecfctl", "--device",
                  emulator_->device(), "--state", dir_.file("new.state"), "consumer", "123"},
                 dir_.path());
  EXPECT_EQ(o.exit_code, 3);
  EXPECT_NE(o.err.find("not saved"), std::string::npos) << o.err;
  EXPECT_EQ(o.err.find("saved in"), std::string::npos) << o.err;
}

TEST(EcfctlSignal, StopsBeforeTheNextPrinterCallAndSaysWhere) {
  TempDir dir;
  Emulator emulator(dir, {"--model", "12", "--delay", "200"});
  ASSERT_TRUE(emulator.start()) << emulator.messages();
  write_file(dir.file("sale.txt"),
             "open\nitem 1 Laranja 01 1 1.00\nitem 2 Mamao 01 1 1.00\nitem 3 Goiaba 01 1 1.00\n"
             "total\npay 1 3.00\nclose\n");
  Process p(
      bin_dir() + "/ecfctl",
      {"--device", emulator.device(), "--state", dir.file("st"), "sale", dir.file("sale.txt")},
      dir.path());
  ASSERT_TRUE(emulator.wait_for_paper("Laranja", 1, 60s));
  p.signal(SIGTERM);
  Output o = p.finish(Clock::now() + 20s);
  EXPECT_EQ(o.exit_code, 130) << o.err;
  EXPECT_NE(o.err.find("no printer call started after it; the record is saved in"),
            std::string::npos)
      << o.err;
  EXPECT_NE(o.err.find("--from"), std::string::npos) << o.err;
  EXPECT_EQ(emulator.paper().find("Goiaba"), std::string::npos);
}

}  // namespace
