// Non-fiscal receipts, linked receipts and management reports through
// ecfctl, the host kit and the driver against the emulator on a
// pseudo-terminal; every run of ecfctl is a till process of its own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sale_harness.h"

namespace {

using namespace sale_test;

struct Printer {
  const char *name, *model, *protocol;
  bool mfd;
};
void PrintTo(const Printer &p, std::ostream *os) {
  *os << p.name;
}

class Documents : public ::testing::TestWithParam<Printer> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.path().empty());
    start_emulator({});
    for (const char *m : {"Dinheiro", "Cartao Credito"}) {
      if (ecfctl({"methods"}).out.find(m) == std::string::npos) {
        ASSERT_EQ(ecfctl({"add-method", m}).exit_code, 0) << log();
      }
    }
  }

  // A new emulator process on the same printer memory and paper roll.
  void start_emulator(const std::string &fault) {
    emulator_.reset();
    std::vector<std::string> args{"--model", GetParam().model, "--protocol", GetParam().protocol};
    if (!fault.empty()) args.insert(args.end(), {"--fault", fault});
    emulator_ = std::make_unique<Emulator>(dir_, args);
    ASSERT_TRUE(emulator_->start()) << emulator_->messages();
  }

  Output ecfctl(std::vector<std::string> args) {
    args.insert(args.begin(), {"--device", emulator_->device(), "--protocol", GetParam().protocol,
                               "--state", dir_.file("ecfctl.state"), "--log-file",
                               dir_.file("driver.log"), "--log-mode", "3"});
    return run(bin_dir() + "/ecfctl", args, dir_.path());
  }

  // Runs the script; its output, and the paper as it is then.
  std::string sale(const std::string &text) {
    write_file(dir_.file("s.txt"), text);
    Output o = ecfctl({"sale", dir_.file("s.txt")});
    EXPECT_EQ(o.exit_code, 0) << o.out << o.err << log();
    EXPECT_NE(ecfctl({"status"}).out.find("document: no document open"), std::string::npos);
    return o.out;
  }
  size_t printed(const std::string &text) { return count_of(emulator_->paper(), text); }
  std::string log() { return emulator_->messages() + read_file(dir_.file("driver.log")); }

  TempDir dir_;
  std::unique_ptr<Emulator> emulator_;
};

TEST_P(Documents, CashWithdrawalAndSupplyAsNonFiscalReceipts) {
  // Real receipts on the detail-tape printer's totalizers; one command 25
  // with the cash codes on the older ones.
  const bool mfd = GetParam().mfd;
  const std::string in = mfd ? "2" : "51", out = mfd ? "1" : "52";
  sale("nf-open " + in + "\nnf-register " + in +
       " 100.00\ntotal\npay 1 100.00\nnf-close\nnf-open " + out + "\nnf-register " + out +
       " 25.50\ntotal\npay Dinheiro 25.50\nnf-close\n");
  EXPECT_EQ(printed("COMPROVANTE NAO-FISCAL"), 2u);
  EXPECT_EQ(printed(mfd ? "02 Suprimento" : "SUPRIMENTO"), 1u) << emulator_->paper();
  EXPECT_EQ(printed(mfd ? "01 Sangria" : "SANGRIA"), 1u);
}

TEST_P(Documents, CardSaleFollowedByItsLinkedReceipt) {
  const std::string out =
      sale("open\nitem 1 Agua 01 2 15.00\ntotal\npay \"Cartao Credito\" 30.00\nclose\n");
  const std::string coo = out.substr(out.find("COO ") + 4, 6);
  EXPECT_NE(ecfctl({"linkable"}).out.find("COO " + coo + ", Cartao Credito 30.00"),
            std::string::npos);
  sale("linked-open\nlinked-line \"VIA DO CLIENTE\"\nlinked-close\n");
  EXPECT_EQ(printed("COMPROVANTE CREDITO OU DEBITO"), 1u) << emulator_->paper();
  EXPECT_EQ(printed("COO do documento vinculado: " + coo), 1u);
  EXPECT_EQ(printed("VIA DO CLIENTE"), 1u);
  EXPECT_EQ(printed("CCD:000001"), 1u);
  EXPECT_EQ(ecfctl({"linked-open"}).exit_code, 1);  // nothing left to tie one to
}

TEST_P(Documents, ManagementReportWithItsType) {
  write_file(dir_.file("KRELATG.TMP"), "12\r\n");
  sale("report-open\nreport-line \"Caixa 1\"\nreport-close\n");
  EXPECT_EQ(printed("Caixa 1"), 1u) << emulator_->paper();
  // The older printers take no type; they begin the report with a Reading X.
  EXPECT_EQ(printed("Tipo: 12"), GetParam().mfd ? 1u : 0u);
  EXPECT_EQ(printed("LEITURA X"), GetParam().mfd ? 0u : 1u);
}

// Each document's close refused (the paper ran out), the till gone; the next
// till, on the saved record and a printer with paper again, repeats it.
TEST_P(Documents, RefusedCloseIsRepeatedByTheNextTill) {
  struct Case {
    bool mfd;            // the printers it runs on
    const char *script;  // opens the document, buffers its body
    const char *close;   // the close refused
    const char *repeat;  // as ecfctl names the repeat
    const char *body;    // printed once in the end
  } cases[] = {
      {true, "nf-open 2\nnf-register 2 10.00\ntotal\npay 1 10.00\n", "nf-close",
       "non-fiscal receipt close", "02 Suprimento"},
      {false, "nf-open 51\nnf-register 51 10.00\npay 1 10.00\n", "nf-close",
       "non-fiscal receipt close", "SUPRIMENTO"},
      {GetParam().mfd,
       "open\nitem 1 Agua 01 1 5.00\ntotal\npay \"Cartao Credito\" 5.00\nclose\n"
       "linked-open\nlinked-line \"Autorizacao 4242\"\n",
       "linked-close", "linked receipt close", "Autorizacao 4242"},
      // The older printers open a report with its text, at its close.
      {true, "report-open\nreport-line \"Sangrias do turno\"\n", "report-close", "report close",
       "Sangrias do turno"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.close);
    if (c.mfd != GetParam().mfd) continue;
    write_file(dir_.file("s.txt"), c.script);
    ASSERT_EQ(ecfctl({"sale", dir_.file("s.txt")}).exit_code, 0) << log();
    // The text is printed before the paper runs out.
    ASSERT_EQ(ecfctl({"feed"}).exit_code, 0) << log();
    start_emulator("paper-out");
    EXPECT_EQ(ecfctl({c.close}).exit_code, 1);
    EXPECT_NE(ecfctl({"state"}).out.find(c.repeat), std::string::npos) << log();
    start_emulator("");
    Output repeat = ecfctl({"repeat"});
    ASSERT_EQ(repeat.exit_code, 0) << repeat.out << repeat.err << log();
    EXPECT_EQ(printed(c.body), 1u) << emulator_->paper();
    EXPECT_NE(ecfctl({"state"}).out.find("document: 0 "), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Printers, Documents,
                         ::testing::Values(Printer{"Mfd", "MP-4000 TH FI", "extended", true},
                                           Printer{"Older", "MP-20 FI II", "basic", false}),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
