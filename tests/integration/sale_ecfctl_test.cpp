// Whole sales through ecfctl, the host kit and the driver against the emulator
// on a pseudo-terminal: every run of ecfctl is a separate process, as a till
// that restarts between operations, with the driver's record in a state file.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "sale_harness.h"

namespace {

using namespace sale_test;

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

class SaleTest : public TillTest<::testing::TestWithParam<Printer>> {
 protected:
  void SetUp() override {
    options_ = {"--speed", "115200", "--protocol", GetParam().protocol};
    ASSERT_TRUE(
        start({"--model", GetParam().model, "--protocol", GetParam().protocol, "--baud", "115200"}))
        << log();
    ASSERT_TRUE(add_methods()) << log();
  }

  // The paper as one text: a description that runs over the end of a printed
  // line is then found whole.
  std::string flat() const {
    std::string paper = this->paper();
    std::erase(paper, '\n');
    return paper;
  }

  // Every item on the paper exactly once.
  void expect_items_once() {
    for (const char *item : {"Arroz tipo 1", "Cafe torrado", "Pao frances", "Validade 12/2027"})
      EXPECT_EQ(count_of(flat(), item), 1u) << item << " in\n" << paper();
  }

  void expect_no_document_open() {
    EXPECT_NE(ecfctl({"state"}).out.find("document: 0 "), std::string::npos) << log();
    EXPECT_NE(ecfctl({"status"}).out.find("document: no document open"), std::string::npos);
  }
};

TEST_P(SaleTest, WholeSaleIsPrintedOnceAndClosed) {
  Output sale = ecfctl({"sale", script(std::string(kSaleHead) + kSaleTail)});
  ASSERT_EQ(sale.exit_code, 0) << sale.out << sale.err << log();
  EXPECT_NE(sale.out.find("sale: COO "), std::string::npos) << sale.out;
  EXPECT_NE(sale.out.find("paid 60.00"), std::string::npos) << sale.out;
  expect_items_once();
  EXPECT_EQ(printed("Volte sempre"), 1u) << paper();
  expect_no_document_open();
}

// A sale in parts: items refused, a close refused and recorded for a repeat,
// then the receipt cancelled by a later run.
TEST_P(SaleTest, PartSaleRefusalsAndCancel) {
  ASSERT_EQ(ecfctl({"sale", script(kSaleHead)}).exit_code, 0) << log();
  Output state = ecfctl({"state"});
  EXPECT_NE(state.out.find("document: 1 "), std::string::npos) << state.out;
  // Nothing totalled yet: the amount shown is not this receipt's.
  EXPECT_NE(state.out.find("paid since the last total: "), std::string::npos) << state.out;

  Output item = ecfctl({"item", "1", "Queijo minas", "77", "1", "30.00"});
  EXPECT_NE(item.exit_code, 0);
  EXPECT_NE(item.err.find("tax code 77 is not one of the printer's rates"), std::string::npos)
      << item.err;
  // A unit reaches the paper on the printer whose item command takes one; on
  // the others the item is refused rather than printed as UN.
  item = ecfctl({"item", "1", "Queijo minas", "01", "0.500", "30.00", "unit=KG"});
  const bool takes_unit = std::string_view(GetParam().model) == "MP-4000 TH FI";
  EXPECT_EQ(item.exit_code == 0, takes_unit) << item.err;
  EXPECT_EQ(count_of(flat(), "Queijo minas"), takes_unit ? 1u : 0u) << paper();
  EXPECT_EQ(count_of(takes_unit ? flat() : item.err, takes_unit ? "KG" : "unit=KG"), 1u);

  Output rest = ecfctl({"sale", script("item 2000000000042 \"Pao frances\" FF 0.500 13.98\n"
                                       "discount 6.28\ntotal\npay 1 10.00\n")});
  ASSERT_EQ(rest.exit_code, 0) << rest.out << rest.err << log();
  // Not paid in full: the printer refuses the close, and the saved record
  // remembers which operation a repeat runs again.
  Output close = ecfctl({"close"});
  EXPECT_EQ(close.exit_code, 1) << close.out << close.err;
  state = ecfctl({"state"});
  EXPECT_NE(state.out.find("repeat: 7 (receipt close)"), std::string::npos) << state.out;
  expect_items_once();

  Output cancel = ecfctl({"cancel"});
  ASSERT_EQ(cancel.exit_code, 0) << cancel.err << log();
  expect_no_document_open();
  // Paying now has no receipt to pay.
  Output pay = ecfctl({"pay", "1", "10.00"});
  EXPECT_NE(pay.exit_code, 0) << pay.out;
}

INSTANTIATE_TEST_SUITE_P(
    Printers, SaleTest,
    ::testing::Values(Printer{"Mfd_extended", "MP-4000 TH FI", "extended", true},
                      Printer{"Mfd_classic_item", "MP-2000 TH FI", "basic", true},
                      Printer{"Older_40_columns", "MP-40 FI II", "basic", false}),
    name_of);

}  // namespace
