// Reading X, Reduction Z, the day's turn, fiscal memory and totals reads.
#include "core_test_support.h"

namespace ecfsim::test {
namespace {

uint64_t coo(Bench &b) {
  return bcd_value(b.var(6).data);
}

TEST(CoreDayClose, ReadingXPrintsAndStreams) {
  Bench b;
  sell(b, 1000);
  ASSERT_FALSE(refused(b.run(6)));
  EXPECT_EQ(coo(b), 2u);
  EXPECT_NE(b.paper_text().find("LEITURA X"), std::string::npos);
  const size_t lines = b.paper.size();
  const Reply s = b.run(69);
  ASSERT_FALSE(refused(s));
  EXPECT_EQ(s.layout, Layout::Stream);
  EXPECT_NE(s.data.find("LEITURA X"), std::string::npos);
  EXPECT_NE(s.data.find("10,00"), std::string::npos);
  EXPECT_EQ(s.data.find('\x03'), std::string::npos);
  EXPECT_EQ(b.paper.size(), lines);
  EXPECT_EQ(coo(b), 2u);
  b.run(0);
  EXPECT_TRUE(refused(b.run(6)));
  const Reply refused_stream = b.run(69);
  EXPECT_TRUE(refused(refused_stream));
  EXPECT_EQ(refused_stream.layout, Layout::Stream);
  EXPECT_TRUE(refused_stream.data.empty());
}

TEST(CoreDayClose, ReductionWritesTheFiscalMemoryAndStartsANewDay) {
  Bench b;
  sell(b, 1000);
  sell(b, 250, "II");
  const Reply z = b.run(5);
  ASSERT_FALSE(refused(z));
  EXPECT_EQ(z.busy_ms, 1500u);
  EXPECT_EQ(bcd_value(b.var(9).data), 1u);
  EXPECT_EQ(b.var(27).data, std::string(3, '\0'));
  EXPECT_EQ(bcd_value(b.var(59).data), 2045u);
  EXPECT_NE(b.paper_text().find("REDUCAO Z"), std::string::npos);

  // The reduction's figures at the offsets the reduction data read uses
  // (raw answer = 06, ST1, ST2, data).
  const Reply d = b.run(88);
  ASSERT_EQ(d.data.size(), 621u);
  EXPECT_EQ(d.layout, Layout::DataFirst);
  auto raw = [&](size_t at, size_t n) { return bcd_value(d.data.substr(at - 3, n)); };
  EXPECT_EQ(raw(4, 2), 1u);        // CRZ
  EXPECT_EQ(raw(8, 3), 3u);        // COO of the reduction
  EXPECT_EQ(raw(153, 9), 1250u);   // grand total
  EXPECT_EQ(raw(162, 7), 1000u);   // rate 01
  EXPECT_EQ(raw(274, 7), 250u);    // II
  EXPECT_EQ(raw(281, 7), 0u);      // NN
  EXPECT_EQ(raw(589, 2), 1800u);   // rate 01's percent
  EXPECT_EQ(raw(621, 3), 41226u);  // the day reduced
  uint64_t gross = 0;
  for (size_t i = 0; i < 28; ++i) gross += raw(162 + 7 * i, 7);
  EXPECT_EQ(gross, 1250u);

  // The new day starts at zero; the grand total goes on.
  const std::string t = b.run(27).data;
  EXPECT_EQ(bcd_value(t.substr(0, 7)), 0u);
  EXPECT_EQ(bcd_value(t.substr(210, 9)), 1250u);
  sell(b, 300);
  EXPECT_EQ(bcd_value(b.run(27).data.substr(210, 9)), 1550u);

  EXPECT_EQ(Bench(1).run(5).busy_ms, 0u);
}

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

TEST(CoreDayClose, FiscalMemoryReadingsByReductionsAndDates) {
  Bench b;
  sell(b, 100);
  b.run(5);
  b.clock += 86400;
  sell(b, 200);
  b.run(5);
  const Reply all = b.run(8, "000000009999R");
  ASSERT_FALSE(refused(all));
  EXPECT_EQ(all.layout, Layout::Stream);
  EXPECT_NE(all.data.find("CRZ:0001"), std::string::npos);
  EXPECT_NE(all.data.find("CRZ:0002"), std::string::npos);
  const Reply second = b.run(8, "000002000002r");
  EXPECT_EQ(second.data.find("CRZ:0001"), std::string::npos);
  EXPECT_NE(second.data.find("CRZ:0002"), std::string::npos);
  const Reply by_date = b.run(8, "041226041226R");
  EXPECT_NE(by_date.data.find("04/12/2026"), std::string::npos);
  EXPECT_EQ(by_date.data.find("CRZ:0002"), std::string::npos);

  const uint64_t before = coo(b);
  ASSERT_FALSE(refused(b.run(8, "000001000002I")));
  EXPECT_EQ(coo(b), before + 1);
  EXPECT_NE(b.paper_text().find("LEITURA DA MEMORIA FISCAL"), std::string::npos);

  for (const char *bad : {"000002000001R", "320126010226R", "050126040126R", "0000000099X9R"}) {
    const Reply r = b.run(8, bad);
    EXPECT_TRUE(refused(r)) << bad;
    EXPECT_EQ(r.layout, Layout::Stream) << bad;
    EXPECT_TRUE(r.data.empty()) << bad;
  }
  EXPECT_EQ(b.run(8, "000000009999X").layout, Layout::StatusFirst);
  EXPECT_EQ(b.run(8, "0000").st1 & 0x01, 0x01);
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
