// The device in front of the real fiscal side, as the driver's tests use it.
#include <gtest/gtest.h>

#include "wire_test_support.h"

#ifdef ECFSIM_WITH_PRINTER

namespace ecfsim {
namespace {

using test::bytes;
using test::send;
using test::take;

constexpr int64_t kNoon = 1767355200;  // 2026-01-02 12:00:00
constexpr uint8_t kSt2Refused = 0x01;

class WirePrinter : public testing::Test {
 protected:
  WirePrinter() : printer_(config()), device_(printer_) {}

  static PrinterConfig config() {
    PrinterConfig c;
    c.model_code = 12;
    c.reduction_busy_ms = 3000;
    c.clock = [] { return kNoon; };
    return c;
  }

  std::string ask(uint8_t start, uint16_t command, std::string_view args = {}) {
    send(device_, build_frame(start, command, args), now_);
    return take(device_, now_);
  }

  Printer printer_;
  Device device_;
  int64_t now_ = 0;
};

TEST_F(WirePrinter, DataFirstAnswersHaveTheirFixedLength) {
  struct Case {
    uint16_t command;
    std::string args;
    size_t data;
  };
  for (const Case &c : {Case{35, std::string(1, '\x11'), 1}, Case{35, std::string(1, '\x17'), 6},
                        Case{27, "", 219}, Case{29, "", 7}, Case{26, "", 33}}) {
    for (uint8_t start : {kStartBasic, kStartExtended}) {
      const std::string answer = ask(start, c.command, c.args);
      const size_t status = start == kStartBasic ? 2 : 4;
      ASSERT_EQ(answer.size(), 1 + c.data + status) << c.command << "/" << int(start);
      EXPECT_EQ(answer[0], 0x06);
      EXPECT_EQ(answer[1 + c.data + 1] & kSt2Refused, 0) << c.command << "/" << int(start);
    }
  }
  // Outside the table: refused, status first, no data.
  const std::string basic = ask(kStartBasic, 35, std::string(1, '\x24'));
  ASSERT_EQ(basic.size(), 3u);
  EXPECT_EQ(basic[2] & kSt2Refused, kSt2Refused);
  EXPECT_EQ(ask(kStartExtended, 35, std::string(1, '\x24')).size(), 5u);
}

TEST_F(WirePrinter, ReadingXStreamEndsWithEtx) {
  for (uint8_t start : {kStartBasic, kStartExtended}) {
    const std::string answer = ask(start, 69);
    const size_t head = start == kStartBasic ? 3 : 5;
    ASSERT_GT(answer.size(), head + 1);
    EXPECT_EQ(answer.back(), 0x03);
    EXPECT_EQ(answer.find('\x03', head), answer.size() - 1) << "text holds an early 03h";
  }
}

TEST_F(WirePrinter, ReductionZKeepsAnMfdPrinterBusy) {
  const std::string answer = ask(kStartBasic, 5);
  ASSERT_EQ(answer.size(), 3u);
  ASSERT_EQ(answer[2] & kSt2Refused, 0);
  EXPECT_FALSE(device_.cts(now_ + 2999));
  now_ += 1000;
  EXPECT_EQ(ask(kStartBasic, 19), "");  // lost while printing
  now_ += 2000;
  EXPECT_TRUE(device_.cts(now_));
  EXPECT_EQ(ask(kStartBasic, 19), bytes({6, 0, 0}));
}

TEST_F(WirePrinter, PrinterFaultsShowInStatus) {
  EXPECT_EQ(ask(kStartExtended, 19), bytes({6, 0, 0, 0, 0}));
  printer_.faults().paper_out = true;
  const std::string status = ask(kStartExtended, 19);
  ASSERT_EQ(status.size(), 5u);
  EXPECT_EQ(status[1] & 0x80, 0x80);
  const std::string open = ask(kStartExtended, 0);
  ASSERT_EQ(open.size(), 5u);
  EXPECT_EQ(open[2] & kSt2Refused, kSt2Refused);
  EXPECT_EQ(open[3], 11);  // out of paper
  printer_.faults().paper_out = false;
  EXPECT_EQ(ask(kStartBasic, 0).size(), 3u);

  printer_.faults().fiscal_memory_full = true;
  const std::string full = ask(kStartBasic, 19);
  ASSERT_EQ(full.size(), 3u);
  EXPECT_EQ(full[2] & 0x40, 0x40);
}

}  // namespace
}  // namespace ecfsim

#endif
