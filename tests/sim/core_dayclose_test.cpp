// Reduction Z: its clock text, its repeat, the day's turn and daylight saving.
#include "core_test_support.h"

namespace ecfsim::test {
namespace {

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

}  // namespace
}  // namespace ecfsim::test
