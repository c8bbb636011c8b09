// ecfctl's information, sensor, drawer, clock and daylight-saving commands
// through the host kit and the driver against the emulator on a
// pseudo-terminal, each run a separate process.
#include <gtest/gtest.h>

#include <string>

#include "sale_harness.h"

namespace {

using namespace sale_test;

using InfoEcfctl = TillTest<>;

TEST_F(InfoEcfctl, CodesSensorsDrawerClockAndDaylightSaving) {
  ASSERT_TRUE(start({"--model", "MP-4000 TH FI", "--protocol", "extended"})) << log();
  options_ = {"--protocol", "extended"};
  Output info = ecfctl({"info", "62", "53", "500"});
  EXPECT_EQ(info.exit_code, 1) << info.err;
  EXPECT_NE(info.out.find("62 national model code: 21\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("53 Reductions Z (CRZ): 0000\n"), std::string::npos) << info.out;
  EXPECT_NE(info.err.find("info 500: failed, result 15"), std::string::npos) << info.err;
  EXPECT_EQ(ecfctl({"info", "x"}).exit_code, 2);

  Output drawer = ecfctl({"drawer"});
  EXPECT_EQ(drawer.out, "drawer: open\n") << drawer.err;
  Output sensors = ecfctl({"sensors"});
  EXPECT_EQ(sensors.out, "drawer: closed\npaper end: no\nsensor of variable 20: off\n")
      << sensors.err;

  EXPECT_NE(ecfctl({"clock"}).out.find(", daylight saving off"), std::string::npos);
  EXPECT_EQ(ecfctl({"dst", "on"}).exit_code, 0);
  EXPECT_NE(ecfctl({"clock"}).out.find(", daylight saving on"), std::string::npos);
  EXPECT_EQ(ecfctl({"clock", "--set"}).exit_code, 1);
  EXPECT_EQ(ecfctl({"dst", "maybe"}).exit_code, 2);
}

}  // namespace
