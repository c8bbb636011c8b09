// Fixture of the fiscal-memory tests: a fresh driver in a scratch working
// directory, and the emulator on the test line when a test needs a printer.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/daily_reductions.h"
#include "core/printer.h"
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "platform/test_platform.h"
#include "wire/device.h"

namespace ecftest {

class Emulator : public LinePeer {
 public:
  explicit Emulator(int model)
      : printer_(config(model, paper)), device_(printer_, ecfsim::WireConfig{}) {}
  void from_driver(std::uint8_t b, std::int64_t now) override { device_.from_host(b, now); }
  int to_driver(std::int64_t now) override { return device_.to_host(now); }
  bool cts(std::int64_t now) override { return device_.cts(now); }

  void reductions(int days) { ecfsim::make_daily_reductions(printer_, days); }
  // The printer's own streamed text for a command 8 argument.
  std::string stream(const std::string &args) { return printer_.execute(8, args).data; }
  ecfsim::Printer &printer() { return printer_; }

  std::vector<std::string> paper;

 private:
  static ecfsim::PrinterConfig config(int model, std::vector<std::string> &paper) {
    ecfsim::PrinterConfig c;
    c.model_code = model;
    c.reduction_busy_ms = 0;
    c.clock = [] { return std::int64_t{1767348000}; };
    c.paper = [&paper](std::string_view l) { paper.emplace_back(l); };
    return c;
  }
  ecfsim::Printer printer_;
  ecfsim::Device device_;
};

class MemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    char tmpl[] = "/tmp/ecf_memory_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    set_peer(nullptr);
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
    reset();
  }
  // The emulator on the line, the driver knowing its model.
  Emulator &emulator(int model = 12) {
    emulator_ = std::make_unique<Emulator>(model);
    set_peer(emulator_.get());
    ECFBMTC_modelo_ecf = model;
    BMTCLOCAL_flg_vers = model >= 5 ? 1 : 0;
    return *emulator_;
  }
  static std::string file(const char *name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return "<missing>";
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  static void write(const char *name, const std::string &text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static bool exists(const char *name) { return std::filesystem::exists(name); }

 private:
  std::filesystem::path dir_, old_;
  std::unique_ptr<Emulator> emulator_;
};

}  // namespace ecftest
