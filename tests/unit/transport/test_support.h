// Shared fixture of the transport tests: a fresh driver and platform.
#pragma once

#include <gtest/gtest.h>

#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "platform/test_platform.h"

namespace ecftest {

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override {
    EXPECT_TRUE(mismatches().empty()) << mismatches().front();
    reset();
  }
  static Bytes answer_bytes() {
    return Bytes(ECFIF_buffer_protocolo, ECFIF_buffer_protocolo + ECFIF_tam_resposta_ecf);
  }
  static Bytes returned_bytes() {
    return Bytes(ECFIF_retornado, ECFIF_retornado + ECFIF_tam_retorno);
  }
  static void extended() { ECFBMTCAUX_modo_protocolo = 1; }
};

}  // namespace ecftest
