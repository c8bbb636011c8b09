// The paper: readable lines within the model's columns.
#include "core_test_support.h"

namespace ecfsim::test {
namespace {

TEST(CorePaper, ASaleReadsOnFortyColumns) {
  Bench b(3);
  b.run(0);
  std::string item = field("1", 13) + field("PAO FRANCES", 29, ' ', true) + "01" + field("500", 7) +
                     field("1200", 8) + field("0", 8);
  ASSERT_FALSE(refused(b.run(9, item)));
  b.run(32, "D0000");
  b.run(72, field("1", 2) + field("600", 14));
  b.run(34, "\x0ePromocao\nVolte sempre\n");
  for (const auto &l : b.paper) EXPECT_LE(l.size(), 40u) << l;
  const std::string t = b.paper_text();
  EXPECT_NE(t.find("PAO FRANCES"), std::string::npos);
  EXPECT_NE(t.find("0,500 UN x 12,00"), std::string::npos);
  EXPECT_NE(t.find("6,00"), std::string::npos);
  EXPECT_NE(t.find("COO:000001"), std::string::npos);
  EXPECT_NE(t.find("04/12/2026 10:00:00"), std::string::npos);
  EXPECT_NE(t.find("Volte sempre"), std::string::npos);
}

TEST(CorePaper, FreeTextShowsBarCodesAndCuts) {
  Bench b;
  b.run(20);
  std::string code = "\x1dkC";
  code.push_back(12);
  code += "789123456789";
  ASSERT_FALSE(refused(b.run(20, code)));
  ASSERT_FALSE(refused(b.run(20, "linha\n\x1bm\n")));
  const std::string t = b.paper_text();
  EXPECT_NE(t.find("EAN-13 789123456789"), std::string::npos);
  EXPECT_NE(t.find("corte"), std::string::npos);
  // A count byte beyond the text cannot read past it.
  std::string broken = "\x1dkC";
  broken.push_back(static_cast<char>(200));
  broken += "12";
  EXPECT_FALSE(refused(b.run(20, broken)));
}

TEST(CorePaper, LongDescriptionsAndExpandedLinesStayReadable) {
  Bench b;
  b.run(0);
  std::string a =
      field("7891000055120", 14) + "02UNT" + field("1000", 7) + field("15490", 8) + field("0", 8);
  a.push_back('\0');
  a += field("0", 8);
  a.push_back('\0');
  a += "Cafe torrado e moido extra forte embalado a vacuo pacote 500g";
  a.push_back('\0');
  ASSERT_FALSE(refused(b.run(ext(87), a)));
  b.run(32, "D0000");
  b.run(72, field("1", 2) + field("1549", 14) + field("Autorizacao 1", 48, ' ', true));
  b.run(34,
        "\x0e"
        "Obrigado pela preferencia\n\x0e"
        "Volte\n");
  const std::string t = b.paper_text();
  EXPECT_NE(t.find("001 07891000055120\n    Cafe torrado"), std::string::npos);
  EXPECT_NE(t.find("\nObrigado pela preferencia\n"), std::string::npos);
  EXPECT_NE(t.find("\nV o l t e\n"), std::string::npos);
  EXPECT_NE(t.find("\nAutorizacao 1\n"), std::string::npos);
  for (const auto &l : b.paper) {
    EXPECT_LE(l.size(), 48u) << l;
    if (!l.empty()) {
      EXPECT_NE(l.back(), ' ') << l;
    }
  }
}

}  // namespace
}  // namespace ecfsim::test
