// Fixture of the fiscal-memory tests: a fresh driver in a scratch working
// directory, and the emulator on the test line when a test needs a printer.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/daily_reductions.h"
#include "driver_test.h"
#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "platform/platform.h"
#include "platform/test_platform.h"

namespace ecftest {

class MemoryTest : public DriverTest {
 protected:
  void TearDown() override {
    emulator_.reset();
    DriverTest::TearDown();
  }
  // The emulator on the line, the driver knowing its model.
  EmulatedPrinter &emulator(int model = 12) {
    emulator_.reset();
    emulator_ = std::make_unique<EmulatedPrinter>(model);
    ECFBMTC_modelo_ecf = model;
    BMTCLOCAL_flg_vers = model >= 5 ? 1 : 0;
    return *emulator_;
  }
  static void write(const char *name, const std::string &text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static bool exists(const char *name) { return std::filesystem::exists(name); }

 private:
  ScratchDir dir_;
  std::unique_ptr<EmulatedPrinter> emulator_;
};

}  // namespace ecftest
