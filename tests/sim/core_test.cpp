// The emulator's fiscal side on a fixed clock whose paper is collected:
// Reduction Z's rules (clock text, the day's turn, an open receipt),
// and random commands that must never break it.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/printer.h"

namespace ecfsim::test {
namespace {

// 04/12/2026 10:00:00, local civil time.
constexpr int64_t kMorning = 1796378400;

struct Bench {
  explicit Bench(int model = 12) {
    PrinterConfig c;
    c.model_code = model;
    c.reduction_busy_ms = 1500;
    c.clock = [this] { return clock; };
    c.paper = [this](std::string_view l) { paper.emplace_back(l); };
    printer = std::make_unique<Printer>(std::move(c));
  }
  Reply run(uint16_t command, std::string_view args = {}) {
    return printer->execute(command, args);
  }
  Reply var(uint8_t v) { return run(35, std::string(1, static_cast<char>(v))); }

  int64_t clock = kMorning;
  std::vector<std::string> paper;
  std::unique_ptr<Printer> printer;
};

bool refused(const Reply &r) {
  return r.st2 & 0x01;
}

std::string field(std::string_view s, size_t width, char fill = '0', bool left = false) {
  std::string v(s.substr(0, width));
  if (left) return v + std::string(width - v.size(), fill);
  return std::string(width - v.size(), fill) + v;
}

uint64_t bcd_value(std::string_view bytes) {
  uint64_t v = 0;
  for (char c : bytes) {
    const auto u = static_cast<uint8_t>(c);
    v = v * 100 + (u >> 4) * 10 + (u & 15);
  }
  return v;
}

// Command 9: one unit of ITEM at `price` cents.
std::string item(uint64_t price) {
  return field("1", 13) + field("ITEM", 29, ' ', true) + "01" + field("1000", 7) +
         field(std::to_string(price), 8) + field("0", 8);
}

// A whole receipt of one item, paid in cash.
void sell(Bench &b, uint64_t amount) {
  EXPECT_FALSE(refused(b.run(0)));
  EXPECT_FALSE(refused(b.run(9, item(amount))));
  b.run(32, "D0000");
  b.run(72, field("1", 2) + field(std::to_string(amount), 14));
  EXPECT_FALSE(refused(b.run(34)));
}

constexpr uint16_t ext(uint8_t sub) {
  return static_cast<uint16_t>(62 * 256 + sub);
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

std::string random_args(std::mt19937 &rng) {
  static constexpr size_t kLengths[] = {0,  1,  2,  4,  5,  9,  12, 13, 15, 16,  29,  32,
                                        36, 52, 53, 59, 67, 68, 78, 84, 94, 139, 200, 700};
  std::uniform_int_distribution<size_t> pick(0, std::size(kLengths) - 1);
  const size_t n = kLengths[pick(rng)];
  std::string a(n, '0');
  std::uniform_int_distribution<int> kind(0, 3), byte(0, 255), digit('0', '9');
  for (char &c : a) {
    const int k = kind(rng);
    c = static_cast<char>(k == 0 ? byte(rng) : k == 1 ? ' ' : digit(rng));
  }
  return a;
}

TEST(CoreRobustness, RandomCommandsNeverBreakThePrinter) {
  std::mt19937 rng(20261204);
  std::uniform_int_distribution<int> cmd(0, 130), sub(40, 90), which(0, 9);
  for (int model : {12, 1, 7}) {
    Bench b(model);
    for (int i = 0; i < 6000; ++i) {
      const uint16_t c =
          which(rng) == 0 ? ext(static_cast<uint8_t>(sub(rng))) : static_cast<uint16_t>(cmd(rng));
      const Reply r = b.run(c, random_args(rng));
      if (r.layout == Layout::DataFirst) {
        EXPECT_FALSE(r.data.empty()) << c;
      }
      if (r.layout == Layout::Stream && refused(r)) {
        EXPECT_TRUE(r.data.empty()) << c;
      }
      if (i % 500 == 0) {
        Bench again(model);
        ASSERT_TRUE(again.printer->load(b.printer->save())) << i;
      }
    }
    for (const auto &l : b.paper) {
      ASSERT_LE(l.size(), static_cast<size_t>(b.printer->columns())) << l;
    }
  }
}

}  // namespace
}  // namespace ecfsim::test
