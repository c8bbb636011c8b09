// What the day tests share: civil moments for the emulated printer's clock
// and a fresh driver in a folder of its own (the driver writes
// "BMTCOOIN.TXT" in the working directory).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "core/printer_state.h"
#include "core/status_bits.h"
#include "driver_test.h"
#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "platform/platform.h"

namespace day_test {

using ecftest::EmulatedPrinter;

// Civil seconds of a date and time, as the emulator's clock gives them.
inline std::int64_t momento(int ano, int mes, int dia, int h, int m, int s = 0) {
  return ecfsim::days_from_civil(ano, mes, dia) * 86400 + h * 3600 + m * 60 + s;
}

class DiaTest : public ecftest::PrinterTest {
 private:
  ecftest::ScratchDir pasta_;
};

}  // namespace day_test
