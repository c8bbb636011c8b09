// Fixture of the frame-exact tests on the scripted line: every frame the
// script expected must have come as expected.
#pragma once

#include "driver_test.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"

namespace ecftest {

class LineTest : public DriverTest {
 protected:
  static inline const Answer ok{0x06, 0x00, 0x00};  // ACK, status bytes 0 0

  void TearDown() override {
    EXPECT_TRUE(mismatches().empty()) << mismatches().front();
    DriverTest::TearDown();
  }
  static Bytes answer_bytes() {
    return Bytes(ECFIF_buffer_protocolo, ECFIF_buffer_protocolo + ECFIF_tam_resposta_ecf);
  }
  static Bytes returned_bytes() {
    return Bytes(ECFIF_retornado, ECFIF_retornado + ECFIF_tam_retorno);
  }
  static void extended() { ECFBMTCAUX_modo_protocolo = 1; }
  // ACK, the data, status bytes 0 0: a data-first answer in the basic protocol.
  static Answer data_answer(const Bytes &data) { return Answer{0x06}.add(data).add({0x00, 0x00}); }
};

}  // namespace ecftest
