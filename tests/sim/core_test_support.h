// Shared set-up for the emulator's fiscal-side tests: a printer on a fixed
// clock whose paper is collected.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/printer.h"

namespace ecfsim::test {

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

inline bool refused(const Reply &r) {
  return r.st2 & 0x01;
}

inline std::string field(std::string_view s, size_t width, char fill = '0', bool left = false) {
  std::string v(s.substr(0, width));
  if (left) return v + std::string(width - v.size(), fill);
  return std::string(width - v.size(), fill) + v;
}

inline uint64_t bcd_value(std::string_view bytes) {
  uint64_t v = 0;
  for (char c : bytes) {
    const auto u = static_cast<uint8_t>(c);
    v = v * 100 + (u >> 4) * 10 + (u & 15);
  }
  return v;
}

// Command 9: one unit of ITEM at `price` cents.
inline std::string item(uint64_t price, std::string_view tax = "01") {
  return field("1", 13) + field("ITEM", 29, ' ', true) + std::string(tax) + field("1000", 7) +
         field(std::to_string(price), 8) + field("0", 8);
}

inline std::string pay(int method, uint64_t amount) {
  return field(std::to_string(method), 2) + field(std::to_string(amount), 14);
}

// A whole paid receipt of one item; gives its COO.
inline uint64_t sell(Bench &b, uint64_t amount, std::string_view tax = "01", int method = 1) {
  EXPECT_FALSE(refused(b.run(0)));
  EXPECT_FALSE(refused(b.run(9, item(amount, tax))));
  b.run(32, "D0000");
  b.run(72, pay(method, amount));
  EXPECT_FALSE(refused(b.run(34)));
  return bcd_value(b.run(30).data);
}

constexpr uint16_t ext(uint8_t sub) {
  return static_cast<uint16_t>(62 * 256 + sub);
}

}  // namespace ecfsim::test
