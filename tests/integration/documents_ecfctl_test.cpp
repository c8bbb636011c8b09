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
  const char *name;
  const char *model;
  const char *protocol;
  bool mfd;
};

void PrintTo(const Printer &p, std::ostream *os) {
  *os << p.name;
}

const Printer kMfd{"Mfd", "MP-4000 TH FI", "extended", true};
const Printer kOlder{"Older", "MP-20 FI II", "basic", false};

class Documents : public ::testing::TestWithParam<Printer> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.path().empty());
    start_emulator({});
    for (const char *m : {"Dinheiro", "Cartao Credito"}) {
      if (ecfctl({"methods"}).out.find(m) == std::string::npos) {
        ASSERT_EQ(ecfctl({"add-method", m}).exit_code, 0) << context();
      }
    }
  }

  // A new emulator process on the same printer memory and paper roll.
  void start_emulator(std::vector<std::string> faults) {
    emulator_.reset();
    std::vector<std::string> args{"--model", GetParam().model, "--protocol", GetParam().protocol};
    for (const auto &f : faults) args.insert(args.end(), {"--fault", f});
    emulator_ = std::make_unique<Emulator>(dir_, args);
    ASSERT_TRUE(emulator_->start()) << emulator_->messages();
  }

  Output ecfctl(std::vector<std::string> args) {
    std::vector<std::string> all = {"--device",   emulator_->device(),
                                    "--protocol", GetParam().protocol,
                                    "--state",    dir_.file("ecfctl.state"),
                                    "--log-file", dir_.file("driver.log"),
                                    "--log-mode", "3"};
    all.insert(all.end(), args.begin(), args.end());
    return run(bin_dir() + "/ecfctl", all, dir_.path());
  }

  Output sale(const std::string &text) {
    write_file(dir_.file("s.txt"), text);
    return ecfctl({"sale", dir_.file("s.txt")});
  }

  void expect_closed() {
    Output state = ecfctl({"state"});
    EXPECT_NE(state.out.find("document: 0 "), std::string::npos) << state.out;
    Output status = ecfctl({"status"});
    EXPECT_NE(status.out.find("document: no document open"), std::string::npos) << status.out;
  }

  std::string context() {
    return emulator_->messages() + "\n--- driver log ---\n" + read_file(dir_.file("driver.log"));
  }

  TempDir dir_;
  std::unique_ptr<Emulator> emulator_;
};

TEST_P(Documents, CashWithdrawalAndSupplyAsNonFiscalReceipts) {
  // A real receipt on the totalizers the detail-tape printer has; one
  // command 25 with the cash codes on the older ones.
  const bool mfd = GetParam().mfd;
  const std::string supply = mfd ? "2" : "51", withdrawal = mfd ? "1" : "52";
  Output o = sale("nf-open " + supply + "\nnf-register " + supply +
                  " 100.00\ntotal\npay 1 100.00\nnf-close\n"
                  "nf-open " +
                  withdrawal + "\nnf-register " + withdrawal +
                  " 25.50\ntotal\npay Dinheiro 25.50\nnf-close\n");
  ASSERT_EQ(o.exit_code, 0) << o.out << o.err << context();
  const std::string paper = emulator_->paper();
  EXPECT_EQ(count_of(paper, "COMPROVANTE NAO-FISCAL"), 2u) << paper;
  EXPECT_EQ(count_of(paper, mfd ? "02 Suprimento" : "SUPRIMENTO"), 1u) << paper;
  EXPECT_EQ(count_of(paper, mfd ? "01 Sangria" : "SANGRIA"), 1u) << paper;
  EXPECT_EQ(count_of(paper, "25,50"), mfd ? 3u : 2u) << paper;  // registration, total, cash
  expect_closed();
}

TEST_P(Documents, CardSaleFollowedByItsLinkedReceipt) {
  Output o = sale(
      "open\nitem 1 \"Agua mineral\" 01 2 15.00\ntotal\npay \"Cartao Credito\" 30.00\nclose\n");
  ASSERT_EQ(o.exit_code, 0) << o.out << o.err << context();
  const auto at = o.out.find("COO ");
  ASSERT_NE(at, std::string::npos) << o.out;
  const std::string coo = o.out.substr(at + 4, 6);
  EXPECT_NE(ecfctl({"linkable"}).out.find("COO " + coo + ", Cartao Credito 30.00"),
            std::string::npos);

  o = sale(
      "linked-open\nlinked-line \"VIA DO CLIENTE\"\nlinked-line \"!Aprovado\"\nlinked-close\n");
  ASSERT_EQ(o.exit_code, 0) << o.out << o.err << context();
  const std::string paper = emulator_->paper();
  EXPECT_EQ(count_of(paper, "COMPROVANTE CREDITO OU DEBITO"), 1u) << paper;
  EXPECT_EQ(count_of(paper, "COO do documento vinculado: " + coo), 1u) << paper;
  EXPECT_EQ(count_of(paper, "Meio de pagamento: Cartao Credito"), 1u) << paper;
  EXPECT_EQ(count_of(paper, "VIA DO CLIENTE"), 1u) << paper;
  EXPECT_NE(paper.find("CCD:000001"), std::string::npos) << paper;
  EXPECT_NE(ecfctl({"linkable"}).out.find("no stored payment"), std::string::npos);
  expect_closed();
  // Nothing left to tie a second one to.
  EXPECT_EQ(ecfctl({"linked-open"}).exit_code, 1);
}

TEST_P(Documents, ManagementReportWithItsType) {
  write_file(dir_.file("KRELATG.TMP"), "12\r\nresto ignorado\n");
  Output o = sale("report-open\nreport-line \"Caixa 1 - fechamento\"\nreport-close\n");
  ASSERT_EQ(o.exit_code, 0) << o.out << o.err << context();
  const std::string paper = emulator_->paper();
  EXPECT_EQ(count_of(paper, "RELATORIO GERENCIAL"), 1u) << paper;
  EXPECT_EQ(count_of(paper, "Caixa 1 - fechamento"), 1u) << paper;
  // The older printers take no type; they begin the report with a Reading X.
  EXPECT_EQ(count_of(paper, "Tipo: 12"), GetParam().mfd ? 1u : 0u) << paper;
  EXPECT_EQ(count_of(paper, "LEITURA X"), GetParam().mfd ? 0u : 1u) << paper;
  expect_closed();
}

// Each document's close refused (the paper ran out), the till gone; the next
// till, on the saved record and a printer with paper again, repeats the close.
struct Case {
  const char *name;
  bool mfd_only, older_only;
  const char *script;  // opens the document and prints its body
  const char *close;   // the close that is refused
  const char *repeat;  // as ecfctl repeat names it
  const char *body;    // printed once in the end
};

const Case kCases[] = {
    {"nonfiscal_real", true, false, "nf-open 2\nnf-register 2 10.00\ntotal\npay 1 10.00\n",
     "nf-close", "non-fiscal receipt close", "02 Suprimento"},
    {"nonfiscal_simulated", false, true, "nf-open 51\nnf-register 51 10.00\npay 1 10.00\n",
     "nf-close", "non-fiscal receipt close", "SUPRIMENTO"},
    {"linked", false, false,
     "open\nitem 1 Agua 01 1 5.00\ntotal\npay \"Cartao Credito\" 5.00\nclose\n"
     "linked-open\nlinked-line \"Autorizacao 4242\"\n",
     "linked-close", "linked receipt close", "Autorizacao 4242"},
    // The older printers open a report with its first printed text, at its
    // close: there is no report open to refuse the close of.
    {"report", true, false, "report-open\nreport-line \"Sangrias do turno\"\n", "report-close",
     "report close", "Sangrias do turno"},
};

class RefusedClose : public Documents {};

TEST_P(RefusedClose, IsRepeatedByTheNextTill) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    if ((c.mfd_only && !GetParam().mfd) || (c.older_only && GetParam().mfd)) continue;
    Output o = sale(c.script);
    ASSERT_EQ(o.exit_code, 0) << o.out << o.err << context();
    // The text is printed before the paper runs out (the end of a text
    // document drops what it cannot print).
    ASSERT_EQ(ecfctl({"feed"}).exit_code, 0) << context();
    start_emulator({"paper-out"});
    Output close = ecfctl({c.close});
    EXPECT_EQ(close.exit_code, 1) << close.out << close.err;
    EXPECT_NE(ecfctl({"state"}).out.find(c.repeat), std::string::npos) << context();

    start_emulator({});
    Output repeat = ecfctl({"repeat"});
    if (repeat.exit_code == 3) GTEST_SKIP() << "this driver has no ECFIF_repete";
    ASSERT_EQ(repeat.exit_code, 0) << repeat.out << repeat.err << context();
    EXPECT_NE(repeat.out.find(c.repeat), std::string::npos) << repeat.out;
    EXPECT_EQ(count_of(emulator_->paper(), c.body), 1u) << emulator_->paper();
    expect_closed();
  }
}

INSTANTIATE_TEST_SUITE_P(Printers, Documents, ::testing::Values(kMfd, kOlder),
                         [](const auto &info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Printers, RefusedClose, ::testing::Values(kMfd, kOlder),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
