// The fixtures of tests that drive the driver on the test platform: a fresh
// driver and platform around each test, with the protocol log on; and the
// same with the emulated printer on the line.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "platform/log.h"
#include "platform/test_platform.h"

namespace ecftest {

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    ECFLOG_modo = 3;
  }
  void TearDown() override {
    set_peer(nullptr);
    reset();
  }
};

// A driver as freshly loaded by a host; the persistent record is kept when
// given, as a host restores it after a crash.
inline void fresh_driver(bool extended, const unsigned char *record = nullptr) {
  const auto now = now_ms();
  reset();
  if (record != nullptr) advance_ms(now);  // the printer's clock does not go back
  std::memset(ECFBMTCAUX_idaplica, 0, sizeof ECFBMTCAUX_idaplica);
  ECFBMTCAUX_configurada_idaplica = 0;
  ECFBMTCAUX_modo_protocolo = extended ? 1 : 0;
  if (record != nullptr) std::memcpy(BMTCLOCAL_d, record, sizeof BMTCLOCAL_d);
}

// The emulated printer on the line of a driver configured for it.
class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    ECFLOG_modo = 3;
  }
  void TearDown() override {
    printer.reset();
    reset();
  }
  // A fresh driver in the basic or extended protocol and a new printer.
  EmulatedPrinter &connect(int model = 12, bool extended = false,
                           std::uint32_t reduction_busy_ms = 2000) {
    printer.reset();
    fresh_driver(extended);
    printer.emplace(model, reduction_busy_ms);
    configure();
    return *printer;
  }
  // The host restarted: a fresh driver handed back its saved record.
  void restart() {
    const std::vector<unsigned char> saved(BMTCLOCAL_d, BMTCLOCAL_d + sizeof BMTCLOCAL_d);
    fresh_driver(ECFBMTCAUX_modo_protocolo != 0, saved.data());
    printer->mend();
    configure();
  }

  std::optional<EmulatedPrinter> printer;

 private:
  void configure() {
    ECFLOG_modo = 3;
    EXPECT_EQ(ECFIF_pega_configuracao(), 0);
    printer->clear_sent();
  }
};

// An MFD model and an older one, each in both protocols, connected in a
// folder of the test's own.
struct ModelAndProtocol {
  int model;
  bool extended;
};

class EachModelAndProtocol : public PrinterTest,
                             public ::testing::WithParamInterface<ModelAndProtocol> {
 protected:
  void SetUp() override {
    PrinterTest::SetUp();
    connect(GetParam().model, GetParam().extended);
  }
  bool mfd() const { return GetParam().model == 12; }

 private:
  ScratchDir dir_;
};

inline auto each_model_and_protocol() {
  return ::testing::Values(ModelAndProtocol{12, false}, ModelAndProtocol{12, true},
                           ModelAndProtocol{1, false}, ModelAndProtocol{1, true});
}
inline std::string model_and_protocol(const ::testing::TestParamInfo<ModelAndProtocol> &i) {
  return std::string(i.param.model == 12 ? "Mp4000" : "Mp20") +
         (i.param.extended ? "Extended" : "Basic");
}

}  // namespace ecftest
