// Whole sales through ecfctl, the host kit and the driver against the emulator
// on a pseudo-terminal: every run of ecfctl is a separate process, as a till
// that restarts between operations, with the driver's record in a state file.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "sale_harness.h"

namespace {

using namespace sale_test;

struct Printer {
  const char *name;
  const char *model;     // as ecfsim takes it
  const char *protocol;  // basic or extended
};

void PrintTo(const Printer &p, std::ostream *os) {
  *os << p.name;
}

constexpr long kSpeed = 115200;

// Texts each test looks for on the paper.
const std::vector<std::string> kItems = {"Arroz tipo 1", "Cafe torrado", "Pao frances"};

const char *const kSaleHead =
    "consumer 123.456.789-09 \"Maria da Silva\" \"Rua das Flores, 100\"\n"
    "open\n"
    "item 7891000100103 \"Arroz tipo 1 5kg\" 01 2 21.90\n"
    "item 7891000055120 \"Cafe torrado e moido extra forte embalado a vacuo 500g\" 02 1 15.49 "
    "line=\"Lote 2026-11\" line=\"Validade 12/2027\"\n";

const char *const kSaleTail =
    "item 2000000000042 \"Pao frances\" FF 0.500 13.98\n"
    "discount 6.28\n"
    "total\n"
    "pay \"Cartao Credito\" 40.00 \"Autorizacao 123456\"\n"
    "pay Dinheiro 20.00\n"
    "promo \"!Obrigado pela preferencia\"\n"
    "promo \"Volte sempre\"\n"
    "close\n";

// The paper as one text: a description that runs over the end of a printed
// line is then found whole.
std::string flat(const std::string &paper) {
  std::string out;
  for (char c : paper) {
    if (c != '\n') out += c;
  }
  return out;
}

class SaleTest : public ::testing::TestWithParam<Printer> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.path().empty());
    emulator_ = std::make_unique<Emulator>(
        dir_, std::vector<std::string>{"--model", GetParam().model, "--protocol",
                                       GetParam().protocol, "--baud", std::to_string(kSpeed)});
    ASSERT_TRUE(emulator_->start()) << emulator_->messages();
    // The two payment methods the sales use, whatever the printer starts with.
    Output methods = ecfctl({"methods"});
    ASSERT_EQ(methods.exit_code, 0) << methods.err << context();
    for (const char *m : {"Dinheiro", "Cartao Credito"}) {
      if (methods.out.find(m) == std::string::npos) {
        Output added = ecfctl({"add-method", m});
        ASSERT_EQ(added.exit_code, 0) << added.err;
      }
    }
  }

  Output ecfctl(std::vector<std::string> args) {
    std::vector<std::string> all = {
        "--device",   emulator_->device(),     "--speed",    std::to_string(kSpeed),
        "--protocol", GetParam().protocol,     "--state",    dir_.file("ecfctl.state"),
        "--log-file", dir_.file("driver.log"), "--log-mode", "3"};
    all.insert(all.end(), args.begin(), args.end());
    return run(bin_dir() + "/ecfctl", all, dir_.path());
  }

  std::string script(const std::string &name, const std::string &text) {
    std::string path = dir_.file(name);
    write_file(path, text);
    return path;
  }

  // Every item on the paper exactly once.
  void expect_items_once(const std::string &printed) {
    std::string paper = flat(printed);
    for (const auto &item : kItems)
      EXPECT_EQ(count_of(paper, item), 1u) << item << " in\n" << printed;
    EXPECT_EQ(count_of(paper, "Validade 12/2027"), 1u) << printed;
  }

  void expect_no_document_open() {
    Output state = ecfctl({"state"});
    EXPECT_EQ(state.exit_code, 0) << state.err;
    EXPECT_NE(state.out.find("document: 0 "), std::string::npos) << state.out;
    Output status = ecfctl({"status"});
    EXPECT_EQ(status.exit_code, 0) << status.err;
    EXPECT_NE(status.out.find("document: no document open"), std::string::npos) << status.out;
  }

  std::string context() {
    return emulator_->messages() + "\n--- driver log ---\n" + read_file(dir_.file("driver.log"));
  }

  TempDir dir_;
  std::unique_ptr<Emulator> emulator_;
};

TEST_P(SaleTest, WholeSaleIsPrintedOnceAndClosed) {
  Output sale = ecfctl({"sale", script("sale.txt", std::string(kSaleHead) + kSaleTail)});
  ASSERT_EQ(sale.exit_code, 0) << sale.out << sale.err << context();
  EXPECT_NE(sale.out.find("sale: COO "), std::string::npos) << sale.out;
  EXPECT_NE(sale.out.find("paid 60.00"), std::string::npos) << sale.out;
  std::string paper = emulator_->paper();
  expect_items_once(paper);
  EXPECT_EQ(count_of(paper, "Volte sempre"), 1u) << paper;
  expect_no_document_open();

  // The next sale starts from the record the first one left.
  Output second = ecfctl({"sale", script("second.txt",
                                         "open\nitem 1 \"Agua mineral\" 01 1 2.50\ntotal\n"
                                         "pay 1 2.50\nclose\n")});
  ASSERT_EQ(second.exit_code, 0) << second.out << second.err << context();
  EXPECT_EQ(count_of(flat(emulator_->paper()), "Agua mineral"), 1u);
}

TEST_P(SaleTest, CancelledSaleLeavesNoReceiptOpen) {
  Output part = ecfctl({"sale", script("part.txt", std::string(kSaleHead))});
  ASSERT_EQ(part.exit_code, 0) << part.out << part.err << context();
  Output state = ecfctl({"state"});
  EXPECT_NE(state.out.find("document: 1 "), std::string::npos) << state.out;
  // Nothing totalled yet: the amount shown is not this receipt's.
  EXPECT_NE(state.out.find("paid since the last total: "), std::string::npos) << state.out;

  Output cancel = ecfctl({"cancel"});
  ASSERT_EQ(cancel.exit_code, 0) << cancel.err << context();
  expect_no_document_open();
  // Paying now has no receipt to pay.
  Output pay = ecfctl({"pay", "1", "10.00"});
  EXPECT_NE(pay.exit_code, 0) << pay.out;
}

TEST_P(SaleTest, RefusedCloseIsRecordedAndClosedByALaterRun) {
  Output part =
      ecfctl({"sale", script("part.txt", std::string(kSaleHead) +
                                             "item 2000000000042 \"Pao frances\" FF 0.500 13.98\n"
                                             "discount 6.28\ntotal\npay 1 10.00\n")});
  ASSERT_EQ(part.exit_code, 0) << part.out << part.err << context();
  // Not paid in full: the printer refuses the close, and the saved record
  // remembers which operation a repeat runs again.
  Output close = ecfctl({"close"});
  EXPECT_EQ(close.exit_code, 1) << close.out << close.err;
  Output state = ecfctl({"state"});
  EXPECT_NE(state.out.find("repeat: 7 (receipt close)"), std::string::npos) << state.out;

  ASSERT_EQ(ecfctl({"pay", "1", "50.00"}).exit_code, 0) << context();
  ASSERT_EQ(ecfctl({"close"}).exit_code, 0) << context();
  expect_items_once(emulator_->paper());
  expect_no_document_open();
}

TEST_P(SaleTest, SaleStoppedBySignalGoesOnFromWhereItStopped) {
  std::string path = script("sale.txt", std::string(kSaleHead) + kSaleTail);
  std::vector<std::string> args = {"--device",   emulator_->device(),
                                   "--speed",    std::to_string(kSpeed),
                                   "--protocol", GetParam().protocol,
                                   "--state",    dir_.file("ecfctl.state"),
                                   "sale",       path};
  Process till(bin_dir() + "/ecfctl", args, dir_.path());
  ASSERT_TRUE(emulator_->wait_for_paper("Arroz tipo 1", 1, 30s)) << context();
  till.signal(SIGTERM);
  Output first = till.finish(Clock::now() + 60s);
  std::string from;
  if (first.exit_code == 130) {
    auto p = first.err.find("--from ");
    ASSERT_NE(p, std::string::npos) << first.err;
    from = first.err.substr(p + 7);
    from = from.substr(0, from.find_first_not_of("0123456789"));
  } else {
    // The whole sale ran before the signal came.
    ASSERT_EQ(first.exit_code, 0) << first.err << context();
  }
  if (!from.empty()) {
    Output rest = ecfctl({"sale", path, "--from", from});
    ASSERT_EQ(rest.exit_code, 0) << rest.out << rest.err << context();
  }
  expect_items_once(emulator_->paper());
  expect_no_document_open();
}

TEST_P(SaleTest, UnknownTaxCodeIsNamed) {
  ASSERT_EQ(ecfctl({"open"}).exit_code, 0) << context();
  Output item = ecfctl({"item", "1", "Queijo minas", "77", "1", "30.00"});
  EXPECT_NE(item.exit_code, 0);
  EXPECT_NE(item.err.find("tax code 77 is not one of the printer's rates"), std::string::npos)
      << item.err;
}

// A unit reaches the paper on the printer whose item command takes one; on
// the others the item is refused rather than printed as UN.
TEST_P(SaleTest, UnitIsPrintedOrRefused) {
  ASSERT_EQ(ecfctl({"open"}).exit_code, 0) << context();
  Output item = ecfctl({"item", "1", "Queijo minas", "01", "0.500", "30.00", "unit=KG"});
  const bool takes_unit = std::string_view(GetParam().model) == "MP-4000 TH FI";
  EXPECT_EQ(item.exit_code == 0, takes_unit) << item.err;
  const std::string paper = flat(emulator_->paper());
  EXPECT_EQ(count_of(paper, "Queijo minas"), takes_unit ? 1u : 0u) << paper;
  EXPECT_EQ(count_of(takes_unit ? paper : item.err, takes_unit ? "KG" : "unit=KG"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Printers, SaleTest,
                         ::testing::Values(Printer{"Mfd_extended", "MP-4000 TH FI", "extended"},
                                           Printer{"Mfd_classic_item", "MP-2000 TH FI", "basic"},
                                           Printer{"Older_40_columns", "MP-40 FI II", "basic"}),
                         [](const ::testing::TestParamInfo<Printer> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
