// The cheque as the paper shows it, and the fields the printer refuses.
#include "core_test_support.h"

namespace ecfsim::test {
namespace {

std::string cheque(std::string_view date, std::string_view text) {
  return field("100", 14) + field("MARIA", 45, ' ', true) + field("CURITIBA", 27, ' ') +
         std::string(date) + std::string(13, '\x05') + std::string(text);
}

TEST(CoreSlot, ChequeShowsItsFieldsAndText) {
  Bench b(6);
  ASSERT_FALSE(refused(b.run(58, field("Real", 19, ' ', true))));
  ASSERT_FALSE(
      refused(b.run(57, cheque("05122026", "Pagamento de aluguel" + std::string(100, ' ')))));
  const std::string t = b.paper_text();
  EXPECT_NE(t.find("[cheque] valor R$ 1,00 (Real)"), std::string::npos);
  EXPECT_NE(t.find("[cheque] a MARIA"), std::string::npos);
  EXPECT_NE(t.find("[cheque] CURITIBA, 05/12/2026"), std::string::npos);
  EXPECT_NE(t.find("[cheque] Pagamento de aluguel"), std::string::npos);

  EXPECT_EQ(b.run(57, cheque("32122026", "")).st2 & 0x80, 0x80);
  EXPECT_EQ(b.run(57, cheque("0512202", "")).st1 & 0x01, 0x01);
  EXPECT_EQ(b.run(57, cheque("05122026", std::string(200, ' '))).st1 & 0x01, 0x01);
}

}  // namespace
}  // namespace ecfsim::test
