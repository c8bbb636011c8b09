// Reading X, Reduction Z, the day's turn, fiscal memory and totals reads.
#include "core_test_support.h"

namespace ecfsim::test {
namespace {

TEST(CoreDayClose, OlderReductionDataCarriesItsFigures) {
  Bench b(2);
  sell(b, 800);
  ASSERT_FALSE(refused(b.run(5)));
  const Reply d = b.run(ext(55));
  ASSERT_EQ(d.data.size(), 308u);
  EXPECT_EQ(d.layout, Layout::DataFirst);
  EXPECT_EQ(bcd_value(d.data.substr(1, 9)), 800u);
  EXPECT_EQ(bcd_value(d.data.substr(56, 7)), 800u);
  EXPECT_EQ(bcd_value(d.data.substr(284, 3)), 2u);
  EXPECT_EQ(b.run(88).st1 & 0x04, 0x04);
}

TEST(CoreDayClose, ReductionWithClockTextSetsTheClock) {
  Bench b;
  ASSERT_FALSE(refused(b.run(5, "041226 101500")));
  EXPECT_EQ(b.var(23).data.substr(0, 5), std::string("\x04\x12\x26\x10\x15", 5));
  ASSERT_FALSE(refused(b.run(5, "051226102000")));
  EXPECT_EQ(b.var(23).data.substr(0, 5), std::string("\x05\x12\x26\x10\x20", 5));
  EXPECT_EQ(b.run(5, "311326102000").st2 & 0x81, 0x81);
  EXPECT_EQ(b.run(5, "290225102000").st2 & 0x81, 0x81);
  EXPECT_EQ(b.run(5, "0412").st1 & 0x01, 0x01);
}

TEST(CoreDayClose, ASecondReductionOfTheSameDayFindsItsWorkDone) {
  Bench b;
  sell(b, 100);
  ASSERT_FALSE(refused(b.run(5)));
  const Reply again = b.run(5);
  EXPECT_TRUE(refused(again));
  EXPECT_EQ(again.exec_status, 66);
  EXPECT_EQ(bcd_value(b.var(9).data), 1u);
  b.clock += 86400;
  EXPECT_FALSE(refused(b.run(5)));  // a day without sales is reduced too
  sell(b, 100);
  EXPECT_FALSE(refused(b.run(5)));
  EXPECT_EQ(bcd_value(b.var(9).data), 3u);
}

TEST(CoreDayClose, TheDaysTurnBlocksSalesUntilTheReduction) {
  Bench b;
  sell(b, 100);
  b.clock += 15 * 3600 + 59 * 60;  // 05/12 01:59
  EXPECT_FALSE(refused(b.run(0)));
  b.run(14);
  b.clock += 60;  // 02:00: the reduction is due
  EXPECT_EQ(b.run(0).exec_status, 63);
  EXPECT_EQ(b.run(77).exec_status, 63);
  EXPECT_EQ(static_cast<uint8_t>(b.var(17).data[0]) & 0x08, 0x08);
  EXPECT_FALSE(refused(b.run(6)));
  ASSERT_FALSE(refused(b.run(5)));
  EXPECT_EQ(static_cast<uint8_t>(b.var(17).data[0]) & 0x08, 0);
  EXPECT_FALSE(refused(b.run(0)));
}

TEST(CoreDayClose, ReductionCancelsAnOpenReceipt) {
  Bench b;
  b.run(0);
  b.run(9, item(500));
  ASSERT_FALSE(refused(b.run(5)));
  EXPECT_EQ(b.run(19).st1 & 0x02, 0);
  const std::string d = b.run(88).data;
  EXPECT_EQ(bcd_value(d.substr(330 - 3, 7)), 500u);  // cancellations
  EXPECT_EQ(bcd_value(d.substr(162 - 3, 7)), 0u);
}

TEST(CoreDayClose, DaylightSavingOnlyRightAfterAReduction) {
  Bench b;
  sell(b, 100);
  EXPECT_EQ(b.run(18).exec_status, 156);
  b.run(5);
  ASSERT_FALSE(refused(b.run(18)));
  EXPECT_EQ(static_cast<uint8_t>(b.var(17).data[0]) & 0x04, 0x04);
  EXPECT_EQ(b.var(23).data[3], '\x11');
  ASSERT_FALSE(refused(b.run(18)));
  EXPECT_EQ(static_cast<uint8_t>(b.var(17).data[0]) & 0x04, 0);
  EXPECT_EQ(b.var(23).data[3], '\x10');
}

TEST(CoreDayClose, DayTotalsCarryCancellationsDiscountsAndSurcharges) {
  Bench b;
  b.run(0);
  b.run(9, item(1000));
  b.run(9, item(1000));
  b.run(31, "0002");
  b.run(93, "D001" + field("100", 8));
  b.run(32, "a" + field("30", 14));
  b.run(72, field("1", 2) + field("930", 14));
  ASSERT_FALSE(refused(b.run(34)));
  const Reply d = b.run(87);
  ASSERT_EQ(d.data.size(), 436u);
  auto raw = [&](size_t at) { return bcd_value(d.data.substr(at - 3, 7)); };
  EXPECT_EQ(raw(171) + raw(192), 1000u);  // cancellations
  EXPECT_EQ(raw(157) + raw(178), 100u);   // discounts
  EXPECT_EQ(raw(164) + raw(185), 30u);    // surcharges
}

}  // namespace
}  // namespace ecfsim::test
