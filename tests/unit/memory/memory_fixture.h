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
#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "platform/platform.h"
#include "platform/test_platform.h"

namespace ecftest {

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
    emulator_.reset();
    set_peer(nullptr);
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
    reset();
  }
  // The emulator on the line, the driver knowing its model.
  EmulatedPrinter &emulator(int model = 12) {
    emulator_.reset();
    emulator_ = std::make_unique<EmulatedPrinter>(model);
    ECFBMTC_modelo_ecf = model;
    BMTCLOCAL_flg_vers = model >= 5 ? 1 : 0;
    return *emulator_;
  }
  static std::string file(const char *name) { return ecftest::read_file(name); }
  static void write(const char *name, const std::string &text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static bool exists(const char *name) { return std::filesystem::exists(name); }

 private:
  std::filesystem::path dir_, old_;
  std::unique_ptr<EmulatedPrinter> emulator_;
};

}  // namespace ecftest
