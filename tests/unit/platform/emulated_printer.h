// The emulated printer (fiscal and serial sides) behind the test line, on a
// fixed clock, its paper collected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/printer.h"
#include "platform/test_platform.h"
#include "wire/device.h"

namespace ecftest {

// 02/01/2026 10:00:00, the printer's local time.
inline constexpr std::int64_t emulator_clock = 1767348000;

class EmulatedPrinter : public LinePeer {
 public:
  explicit EmulatedPrinter(int model) : printer_(config(model, paper)), device_(printer_) {}

  void from_driver(std::uint8_t b, std::int64_t now) override { device_.from_host(b, now); }
  int to_driver(std::int64_t now) override { return device_.to_host(now); }
  bool cts(std::int64_t now) override { return device_.cts(now); }
  int line_errors() override { return device_.line_errors(); }

  ecfsim::Printer &printer() { return printer_; }
  ecfsim::Device &device() { return device_; }
  bool printed(std::string_view text) const {
    for (const auto &l : paper)
      if (l.find(text) != std::string::npos) return true;
    return false;
  }

  std::vector<std::string> paper;

 private:
  static ecfsim::PrinterConfig config(int model, std::vector<std::string> &paper) {
    ecfsim::PrinterConfig c;
    c.model_code = model;
    c.clock = [] { return emulator_clock; };
    c.paper = [&paper](std::string_view line) { paper.emplace_back(line); };
    return c;
  }

  ecfsim::Printer printer_;
  ecfsim::Device device_;
};

}  // namespace ecftest
