// Release of the port and memory, waits, and the envelope answer.
#include "transport/test_support.h"

namespace ecftest {
namespace {

using ReleaseTest = LineTest;

TEST_F(ReleaseTest, EndOfProtocolClosesThePortAndTheNextCommandSetsItUp) {
  ECFLOG_modo = 2;
  on_frame({0x06, 0x00, 0x00});
  on_frame({0x06, 0x00, 0x00});
  ASSERT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(port_calls().conf, 1);
  EXPECT_EQ(ECFIF_fim_protocolo(), 0);
  EXPECT_TRUE(log_has("fim_protocolo()"));
  EXPECT_EQ(port_calls().encerra, 1);
  EXPECT_EQ(live_allocations(), 0);
  EXPECT_EQ(ECFIF_buffer_protocolo, nullptr);
  ASSERT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(port_calls().conf, 2);
  EXPECT_EQ(port_calls().order.back(), "inicia_rx");
  EXPECT_EQ(ECFIF_envelope_suportado(), 1);
}

TEST_F(ReleaseTest, ReleaseFreesEverythingAndBuffersComeBack) {
  on_frame({0x06, 0x00, 0x00});
  ASSERT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(live_allocations(), 3);
  EXPECT_EQ(ECFIF_libera_memoria(), 0);
  EXPECT_EQ(live_allocations(), 0);
  EXPECT_EQ(ECFIF_libera_memoria(), 0);  // twice is harmless
  on_frame({0x06, 0x00, 0x00});
  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(live_allocations(), 3);
  // The port was not closed: no new set-up.
  EXPECT_EQ(port_calls().conf, 1);
}

TEST_F(ReleaseTest, DelaysRunOnTheVirtualClock) {
  ECFLOG_modo = 2;
  ECFBMTCAUX_ms_retardo(250);
  EXPECT_GT(now_ms(), 250);
  EXPECT_LT(now_ms(), 260);
  EXPECT_TRUE(log_has("retardo(250ms)..."));
  EXPECT_TRUE(log_has("retardo()."));

  const auto before = now_ms();
  ECFBMTCAUX_retardo(7800);
  EXPECT_GT(now_ms() - before, 7800000);

  clear_log();
  const auto not_waited = now_ms();  // every yield moves the clock
  EXPECT_EQ(ECFBMTCAUX_ms_retardo(0), 0);
  EXPECT_EQ(ECFBMTCAUX_ms_retardo(-5), 0);
  EXPECT_EQ(now_ms(), not_waited);
  EXPECT_TRUE(log_lines().empty());
}

}  // namespace
}  // namespace ecftest
