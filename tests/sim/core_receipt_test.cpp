// The fiscal receipt through execute(): items, adjustments, totalling,
// payments, closing, cancelling, and the books they leave.
#include "core_test_support.h"

namespace ecfsim::test {
namespace {

// Command 9 as the driver lays it out (13-digit code on most models).
std::string classic_item(std::string_view tax, std::string_view qty, std::string_view price,
                         std::string_view discount = "0", size_t code_len = 13) {
  return field("789123", code_len) + field("CAFE TORRADO 500G", 29, ' ', true) +
         field(tax, 2, ' ', true) + field(qty, 7) + field(price, 8) + field(discount, 8);
}

std::string extended_item(std::string_view tax, std::string_view qty, std::string_view price,
                          std::string_view desc, char mode = 0) {
  std::string a = field("12345", 14) + field(tax, 2, ' ') + "KG";
  if (mode) a.push_back(mode);
  a += field(qty, 7) + field(price, 8) + field("0", 8);
  a.push_back('\0');
  a += field("0", 8);
  a.push_back('\0');
  a += desc;
  a.push_back('\0');
  return a;
}

std::string payment(int method, std::string_view amount, std::string_view text = {}) {
  return field(std::to_string(method), 2) + field(amount, 14) + std::string(text);
}

uint64_t subtotal(Bench &b) {
  return bcd_value(b.run(29).data);
}
uint64_t paid(Bench &b) {
  return bcd_value(b.var(22).data);
}
uint8_t flags(Bench &b) {
  return static_cast<uint8_t>(b.var(17).data[0]);
}

TEST(CoreReceipt, AWholeSaleKeepsItsBooks) {
  Bench b;
  ASSERT_FALSE(refused(b.run(0)));
  EXPECT_EQ(bcd_value(b.var(6).data), 1u);
  EXPECT_EQ(flags(b) & 3, 1);
  EXPECT_EQ(b.run(19).st1 & 0x02, 0x02);
  // 1,5 kg at 10,00 on rate 01; 2 units at 3,333 (three decimals) on II.
  ASSERT_FALSE(refused(b.run(ext(87), extended_item("01", "1500", "10000", "ARROZ", 'T'))));
  ASSERT_FALSE(refused(b.run(ext(87), extended_item("II", "2000", "3333", "AGUA", 'A'))));
  EXPECT_EQ(subtotal(b), 1500u + 667u);
  ASSERT_FALSE(refused(b.run(93, "D001" + field("100", 8))));
  EXPECT_EQ(subtotal(b), 2067u);
  ASSERT_FALSE(refused(b.run(32, "d" + field("67", 14))));
  EXPECT_EQ(subtotal(b), 2000u);
  EXPECT_EQ(flags(b) & 3, 3);
  ASSERT_FALSE(refused(b.run(72, payment(3, "1500", "Cartao final 1234"))));
  EXPECT_EQ(paid(b), 1500u);
  ASSERT_FALSE(refused(b.run(72, payment(1, "1000"))));
  EXPECT_EQ(bcd_value(b.run(30).data), 1u);
  ASSERT_FALSE(refused(b.run(34, "Obrigado pela preferencia\n")));
  EXPECT_EQ(flags(b) & 0x23, 0x20);
  EXPECT_EQ(b.run(19).st1 & 0x02, 0);

  // Command 27: rate 01 holds 15,00 - 1,00 - its share of the 0,67.
  const std::string t = b.run(27).data;
  ASSERT_EQ(t.size(), 219u);
  const uint64_t rate1 = bcd_value(t.substr(0, 7));
  const uint64_t exempt = bcd_value(t.substr(112, 7));
  EXPECT_EQ(rate1 + exempt, 2000u);
  EXPECT_EQ(rate1, 1400u - 1400u * 67 / 2067);
  EXPECT_EQ(bcd_value(t.substr(119, 7)), 0u);     // NN
  EXPECT_EQ(bcd_value(t.substr(210, 9)), 2167u);  // gross: items
  // The discounts are the day's discounts (variable 5).
  EXPECT_EQ(bcd_value(b.var(5).data), 167u);
  EXPECT_EQ(bcd_value(b.var(27).data), 41226u);
  // Payments by method, the change taken from the cash.
  const std::string methods = b.var(49).data;
  EXPECT_EQ(methods.substr(32, 16), "Cartao Credito  ");
  EXPECT_EQ(bcd_value(methods.substr(320, 7)), 500u);
  EXPECT_EQ(bcd_value(methods.substr(334, 7)), 1500u);
  EXPECT_EQ(bcd_value(b.var(3).data), 2167u);  // grand total
  EXPECT_EQ(bcd_value(b.var(55).data), 1u);    // fiscal receipts

  const std::string text = b.paper_text();
  EXPECT_NE(text.find("CUPOM FISCAL"), std::string::npos);
  EXPECT_NE(text.find("ARROZ"), std::string::npos);
  EXPECT_NE(text.find("TROCO R$"), std::string::npos);
  EXPECT_NE(text.find("Obrigado pela preferencia"), std::string::npos);
  for (const auto &l : b.paper) EXPECT_LE(l.size(), 48u) << l;
}

TEST(CoreReceipt, ClassicItemFollowsTheModelsCodeWidth) {
  Bench mp4000(12);
  mp4000.run(0);
  EXPECT_FALSE(refused(mp4000.run(9, classic_item("01", "1000", "250"))));
  EXPECT_EQ(mp4000.run(9, classic_item("01", "1000", "250", "0", 14)).st1 & 0x01, 0x01);
  EXPECT_FALSE(refused(mp4000.run(56, classic_item("02", "2000", "1255"))));
  EXPECT_EQ(subtotal(mp4000), 250u + 251u);

  Bench mp7000(7);
  mp7000.run(0);
  EXPECT_FALSE(refused(mp7000.run(9, classic_item("01", "1000", "250", "0", 14))));
  EXPECT_TRUE(refused(mp7000.run(9, classic_item("01", "1000", "250"))));
}

TEST(CoreReceipt, LongDescriptionGoesToTheNextItem) {
  Bench b(5);
  b.run(0);
  // As the driver lays it out: 29 characters on the first line, then
  // each further line on a 48-column boundary.
  const std::string desc = field("DETERGENTE NEUTRO 500ML", 29, ' ', true) +
                           field("CAIXA COM DOZE UNIDADES", 48, ' ', true);
  ASSERT_FALSE(refused(b.run(ext(52), desc)));
  ASSERT_FALSE(refused(b.run(9, classic_item("01", "1000", "199"))));
  const std::string text = b.paper_text();
  EXPECT_NE(text.find("DETERGENTE NEUTRO 500ML\n    CAIXA COM DOZE UNIDADES\n"), std::string::npos);
  EXPECT_EQ(text.find("CAFE TORRADO"), std::string::npos);

  // Older 40-column models take the long description too.
  Bench older(3);
  older.run(0);
  EXPECT_FALSE(refused(older.run(ext(52), field("DETERGENTE NEUTRO 500ML", 62, ' ', true))));
}

TEST(CoreReceipt, ItemWithUnitCommand) {
  Bench b(5);
  b.run(0);
  std::string a = "01" + field("12990", 9) + field("1000", 7) + field("0", 10) + field("0", 10) +
                  std::string(21, ' ') + "0" + "LT" + field("42", 14);
  a.push_back('\0');
  a += "OLEO DE SOJA";
  a.push_back('\0');
  ASSERT_FALSE(refused(b.run(63, a)));
  EXPECT_EQ(subtotal(b), 1299u);
  EXPECT_NE(b.paper_text().find("OLEO DE SOJA"), std::string::npos);
  EXPECT_NE(b.paper_text().find("LT"), std::string::npos);
}

struct Refusal {
  const char *name;
  uint16_t command;
  std::string args;
  uint16_t exec;
};

TEST(CoreReceipt, WrongSequencesAreRefused) {
  Bench b;
  // With no receipt open.
  for (const Refusal &r : {
           Refusal{"item", 9, classic_item("01", "1000", "100"), 8},
           Refusal{"payment", 72, payment(1, "100"), 8},
           Refusal{"totalling", 32, "D0000", 8},
           Refusal{"close", 34, "", 8},
       }) {
    const Reply reply = b.run(r.command, r.args);
    EXPECT_TRUE(refused(reply)) << r.name;
    EXPECT_EQ(reply.exec_status, r.exec) << r.name;
  }
  EXPECT_EQ(b.run(14).st2 & 0x05, 0x05);  // nothing to cancel

  b.run(0);
  EXPECT_TRUE(refused(b.run(0)));                                           // second receipt
  EXPECT_EQ(b.run(9, classic_item("07", "1000", "100")).st2 & 0x11, 0x11);  // rate not programmed
  EXPECT_EQ(b.run(9, classic_item("XX", "1000", "100")).st2 & 0x81, 0x81);
  EXPECT_EQ(b.run(9, classic_item("01", "0", "100")).st2 & 0x81, 0x81);
  EXPECT_EQ(b.run(9, classic_item("01", "1000", "100", "100")).st2 & 0x81, 0x81);
  EXPECT_EQ(b.run(9, "short").st1 & 0x01, 0x01);
  EXPECT_EQ(b.run(32, "D0000").st2 & 0x01, 0x01);  // nothing sold yet
  b.run(9, classic_item("01", "1000", "500"));
  EXPECT_EQ(b.run(72, payment(1, "500")).exec_status, 23);
  EXPECT_EQ(b.run(34).exec_status, 23);
  EXPECT_EQ(b.run(31, "0002").st2 & 0x81, 0x81);
  ASSERT_FALSE(refused(b.run(32, "D0000")));
  EXPECT_EQ(b.run(32, "D0000").exec_status, 169);
  EXPECT_EQ(b.run(9, classic_item("01", "1000", "100")).exec_status, 169);
  EXPECT_EQ(b.run(31, "0001").exec_status, 169);
  EXPECT_EQ(b.run(72, payment(9, "500")).st2 & 0x81, 0x81);  // no such method
  ASSERT_FALSE(refused(b.run(72, payment(1, "200"))));
  EXPECT_TRUE(refused(b.run(34)));  // not paid in full
  ASSERT_FALSE(refused(b.run(72, payment(1, "300"))));
  EXPECT_TRUE(refused(b.run(72, payment(1, "1"))));  // already paid
  EXPECT_FALSE(refused(b.run(34)));
}

TEST(CoreReceipt, ItemCancelAndAdjustments) {
  Bench b;
  b.run(0);
  b.run(9, classic_item("01", "1000", "1000"));
  b.run(9, classic_item("02", "1000", "500"));
  ASSERT_FALSE(refused(b.run(31, "0001")));
  EXPECT_TRUE(refused(b.run(31, "0001")));
  EXPECT_EQ(subtotal(b), 500u);
  ASSERT_FALSE(refused(b.run(93, "A002" + field("50", 8))));
  EXPECT_EQ(subtotal(b), 550u);
  ASSERT_FALSE(refused(b.run(114, "A002")));
  EXPECT_EQ(b.run(114, "A002").st2 & 0x05, 0x05);
  EXPECT_EQ(subtotal(b), 500u);
  EXPECT_TRUE(refused(b.run(93, "D001" + field("50", 8))));  // cancelled item
  ASSERT_FALSE(refused(b.run(32, "A1000")));                 // 10% surcharge
  EXPECT_EQ(subtotal(b), 550u);
  b.run(72, payment(1, "550"));
  ASSERT_FALSE(refused(b.run(34)));
  EXPECT_EQ(bcd_value(b.var(4).data), 1000u);  // cancellations
  EXPECT_EQ(bcd_value(b.var(30).data), 50u);   // surcharges
  const std::string t = b.run(27).data;
  EXPECT_EQ(bcd_value(t.substr(7, 7)), 500u);     // rate 02, without the surcharge
  EXPECT_EQ(bcd_value(t.substr(210, 9)), 1550u);  // grand total
  // Older models have no item adjustments.
  Bench older(1);
  older.run(0);
  EXPECT_EQ(older.run(93, "D001" + field("50", 8)).st1 & 0x04, 0x04);
}

TEST(CoreReceipt, CancellingTheOpenAndThePreviousReceipt) {
  Bench b;
  b.run(0);
  b.run(9, classic_item("01", "1000", "1000"));
  ASSERT_FALSE(refused(b.run(14)));
  EXPECT_EQ(flags(b) & 0x21, 0);
  EXPECT_EQ(bcd_value(b.var(8).data), 1u);
  EXPECT_EQ(bcd_value(b.var(4).data), 1000u);
  EXPECT_EQ(bcd_value(b.run(27).data.substr(0, 7)), 0u);

  b.run(0);
  b.run(9, classic_item("01", "1000", "700"));
  b.run(32, "D0000");
  b.run(72, payment(2, "700"));
  b.run(34);
  EXPECT_EQ(flags(b) & 0x20, 0x20);
  const uint64_t coo = bcd_value(b.var(6).data);
  ASSERT_FALSE(refused(b.run(14)));
  EXPECT_EQ(bcd_value(b.var(6).data), coo + 1);
  EXPECT_EQ(flags(b) & 0x20, 0);
  EXPECT_EQ(b.run(14).st2 & 0x04, 0x04);
  EXPECT_EQ(bcd_value(b.var(4).data), 1700u);
  EXPECT_EQ(bcd_value(b.run(27).data.substr(210, 9)), 1700u);
  EXPECT_NE(b.paper_text().find("CANCELAMENTO"), std::string::npos);
}

TEST(CoreReceipt, ConsumerBlockLengthsFollowTheGeneration) {
  Bench mfd;
  EXPECT_EQ(mfd.run(0, std::string(30, 'x')).st1 & 0x01, 0x01);
  EXPECT_FALSE(refused(mfd.run(0, field("123.456.789-09", 29, ' ', true) +
                                      field("MARIA DA SILVA", 30, ' ', true) +
                                      field("RUA A, 1", 80, ' ', true))));
  EXPECT_NE(mfd.paper_text().find("MARIA DA SILVA"), std::string::npos);
  Bench older(2);
  EXPECT_EQ(older.run(0, std::string(59, 'x')).st1 & 0x01, 0x01);
  EXPECT_FALSE(refused(older.run(0, std::string(29, 'x'))));
}

}  // namespace
}  // namespace ecfsim::test
