// The fixture of tests that drive the driver on the test platform: a fresh
// driver and platform around each test, with the protocol log on.
#pragma once

#include <gtest/gtest.h>

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

}  // namespace ecftest
