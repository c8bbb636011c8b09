// Attempts, time-outs, line errors, flow control and the answer layouts.
#include "transport/test_support.h"

namespace ecftest {
namespace {

using ExchangeTest = LineTest;

TEST_F(ExchangeTest, ThreeRefusalsGiveThirtySixAfterThreeFrames) {
  ECFLOG_modo = 2;
  on_frame(refusal());
  on_frame(refusal());
  on_frame(refusal());
  EXPECT_EQ(ECFBMTC_exec(19), 36);
  const auto f = frames();
  ASSERT_EQ(f.size(), 3u);
  // Each retry repeats the same frame.
  EXPECT_EQ(f[0], f[1]);
  EXPECT_EQ(f[1], f[2]);
  EXPECT_TRUE(log_has("iniciando tent.2"));
  EXPECT_TRUE(log_has("iniciando tent.3"));
  EXPECT_TRUE(log_has("tent.4#36[0]"));
  EXPECT_EQ(ECFIF_tam_retorno, 0);
}

TEST_F(ExchangeTest, NoiseBeforeTheAcknowledgementOrALineErrorIsDropped) {
  for (const Answer &a : {Answer{0x41, 0x00, 0x06, 0x00, 0x00},
                          Answer{0x06, 0x00}.line_error(1).add({0x06, 0x00, 0x00})}) {
    reset();
    on_frame(a);
    EXPECT_EQ(ECFBMTC_exec(19), 0);
    EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
  }
}

TEST_F(ExchangeTest, SilenceTimesOutWithThirtySevenAndResetsThePort) {
  ECFLOG_modo = 1;
  on_frame(silence());
  const auto start = now_ms();
  EXPECT_EQ(ECFBMTC_exec(19), 37);
  EXPECT_GE(now_ms() - start, 30000);
  EXPECT_LT(now_ms() - start, 32000);
  EXPECT_TRUE(log_has("timeout,0 rec."));
  EXPECT_EQ(frames().size(), 1u);
  EXPECT_EQ(port_calls().conf, 1);
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(port_calls().conf, 2);
  // Every exchange is enveloped, the failed one too.
  EXPECT_EQ(host().envelope_inicia, 2);
  EXPECT_EQ(host().envelope_termina, 2);
}

TEST_F(ExchangeTest, TimeOutAfterALineErrorIsForty) {
  struct Case {
    int bits;
    const char *line;
  };
  for (const Case c : {Case{1, "parid,2 rec."}, Case{2, "ovrun,2 rec."}, Case{4, "framing,2 rec."},
                       Case{6, "ovrun,2 rec."}}) {
    reset();
    ECFLOG_modo = 1;
    on_frame(Answer{0x06, 0x00}.line_error(c.bits));
    EXPECT_EQ(ECFBMTC_exec(19), 40) << c.bits;
    EXPECT_TRUE(log_has(c.line)) << c.line;
    // The port stays set up after a line-error time-out.
    on_frame(ok);
    EXPECT_EQ(ECFBMTC_exec(19), 0);
    EXPECT_EQ(port_calls().conf, 1);
  }
}

TEST_F(ExchangeTest, TimeOutDumpWithInterfaceLogging) {
  ECFLOG_modo = 2;
  on_frame({0x06, 0x00});
  EXPECT_EQ(ECFBMTC_exec(19), 37);
  EXPECT_TRUE(log_has("timeout: 06 00"));
  EXPECT_TRUE(log_has("tent.1#37[0]"));
}

TEST_F(ExchangeTest, PortSetUpOrder) {
  ECFIF_porta_serial = 3;
  ECFIF_veloc_serial = 115200;
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec(19), 0);
  const std::vector<std::string> want{"conf", "ativa",     "reset",     "dtr",      "modo_rts",
                                      "rts",  "inicia_tx", "inicia_rx", "inicia_rx"};
  EXPECT_EQ(port_calls().order, want);
  EXPECT_EQ(port_calls().speed, 115200);
  EXPECT_EQ(port_calls().port, 3);
}

TEST_F(ExchangeTest, PortThatFailedToOpenFailsAtOnceAndIsOpenedAgainOnTheNextCommand) {
  set_open_result(-1);
  EXPECT_EQ(ECFBMTC_le_status(), 36);
  EXPECT_EQ(ECFBMTC_le_parametro(17), 36);
  EXPECT_EQ(port_calls().ativa, 2);
  EXPECT_TRUE(transmitted().empty());
  EXPECT_LT(now_ms(), 50);
  set_open_result(0);
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(port_calls().ativa, 3);
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(port_calls().ativa, 3);
}

TEST_F(ExchangeTest, ClearToSendIsAskedOncePerFrameAndOnceASecondWhileWaiting) {
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(port_calls().cts, 1);

  // A printer busy for 50 s after the frame: while the answer is awaited
  // CTS is sampled once a second, not after every empty read.
  reset();
  on_frame(Answer{}.cts_off_ms(50000).pause_ms(50000).add({0x06, 0x00, 0x00}));
  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_GE(now_ms(), 50000);
  EXPECT_LE(port_calls().cts, 1 + 51);
}

TEST_F(ExchangeTest, TransmitFailures) {
  // CTS never active: 37 after a minute, nothing sent, no retry.
  set_cts(false);
  EXPECT_EQ(ECFBMTC_exec(19), 37);
  EXPECT_TRUE(transmitted().empty());
  EXPECT_GE(now_ms(), 60000);

  // The library keeps refusing the byte for now: 37 as well.
  reset();
  set_transmit_result(1);
  EXPECT_EQ(ECFBMTC_exec(19), 37);

  // A fault of the library: 36 at once, a single try.
  reset();
  set_transmit_result(5);
  EXPECT_EQ(ECFBMTC_exec(19), 36);
  EXPECT_EQ(port_calls().transm, 1);
}

TEST_F(ExchangeTest, StuckTransmitterOrHeldCtsEndsInThirtySeven) {
  // While the printer holds CTS the drain and the receive open new windows,
  // but not without end: a stuck line ends within the hold limit.
  constexpr std::int64_t forever_ms = 100'000'000;
  const struct {
    bool tx_pending;
    std::int64_t cts_off_ms, min_ms, max_ms;
  } cases[] = {{true, 20000, 20000, 32000},      // held 20 s: the drain waits, then gives up
               {true, forever_ms, 0, 620'000},   // in the drain
               {false, forever_ms, 0, 640'000},  // in the receive
               {true, 0, 0, 7000}};              // a transmitter that never drains
  for (const auto &c : cases) {
    reset();
    set_tx_pending(c.tx_pending);
    on_frame(Answer{}.cts_off_ms(c.cts_off_ms));
    EXPECT_EQ(ECFBMTC_exec(19), 37);
    EXPECT_GE(now_ms(), c.min_ms);
    EXPECT_LT(now_ms(), c.max_ms);
  }
  set_tx_pending(false);
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(port_calls().conf, 2);
}

TEST_F(ExchangeTest, DataFirstAnswerMustCompleteSevenSecondsAfterItsThirdByte) {
  on_frame(Answer{0x06, 0x01, 0x02}
               .pause_ms(6000)
               .add({0x03})
               .pause_ms(2000)
               .add({0x04, 0x05, 0x06, 0x07})
               .add({0, 0}));
  EXPECT_EQ(ECFBMTC_exec(29), 37);

  // A busy printer does not extend it.
  reset();
  on_frame(Answer{0x06, 0x01, 0x02}.cts_off_ms(20000).pause_ms(15000).add({3, 4, 5, 6, 7, 0, 0}));
  EXPECT_EQ(ECFBMTC_exec(29), 37);

  reset();
  on_frame(Answer{0x06, 0x01, 0x02}.pause_ms(6000).add({0x03, 0x04, 0x05, 0x06, 0x07, 0x00, 0x00}));
  EXPECT_EQ(ECFBMTC_exec(29), 0);
  EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0, 0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(ExchangeTest, ExtendedDataFirstGivesEachByteSevenSeconds) {
  extended();
  Answer a{0x06};
  for (int b : {1, 2, 3, 4, 5, 6, 7}) a.pause_ms(5000).add({b});
  a.add({0x00, 0x00, 0x17, 0x00});
  on_frame(a);
  EXPECT_EQ(ECFBMTC_exec(29), 0);
  EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0, 0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(ECFBMTCAUX_status_execucao, 0x17);
  // The execution status is out of the answer, the data stays in the copy.
  EXPECT_EQ(returned_bytes(), answer_bytes());
}

TEST_F(ExchangeTest, AnswerLayoutsOfAVariableRead) {
  struct Case {
    bool ext;
    unsigned char variable;
    Answer answer;
    int result;
    Bytes answered, returned;
  };
  const Case cases[] = {
      // Data first: normalised to status first.
      {false, 17, {0x06, 0x5A, 0x40, 0x00}, 0, {0x06, 0x40, 0x00, 0x5A}, {0x06, 0x40, 0x00, 0x5A}},
      // 06h, ST1, ST2, execution status 0102h, 3 data bytes (36 is not in the table:
      // status first), two more bytes that are kept out of the copy.
      {true,
       36,
       {0x06, 0x00, 0x00, 0x02, 0x01, 0xA1, 0xA2, 0xA3, 0xEE, 0xEF},
       0,
       {0x06, 0, 0, 0xA1, 0xA2, 0xA3, 0xEE, 0xEF},
       {0x06, 0, 0, 0xA1, 0xA2, 0xA3}},
      // A refusal ends at the execution status.
      {true, 36, {0x06, 0x00, 0x01, 0x46, 0x00}, 2, {0x06, 0x00, 0x01}, {0x06, 0x00, 0x01}},
  };
  for (const auto &c : cases) {
    reset();
    if (c.ext) extended();
    on_frame(c.answer);
    EXPECT_EQ(ECFBMTC_exec_argum(35, &c.variable, 1), c.result);
    EXPECT_EQ(answer_bytes(), c.answered);
    EXPECT_EQ(returned_bytes(), c.returned);
  }
  EXPECT_EQ(ECFBMTCAUX_status_execucao, 0x46);
}

TEST_F(ExchangeTest, LongAnswersAreNotCopiedToTheReturnArea) {
  const unsigned char v = 13;  // 186 data bytes
  on_frame(data_answer(Bytes(186, 'x')));
  ECFIF_maxtam_resposta = 100;
  EXPECT_EQ(ECFBMTC_exec_argum(35, &v, 1), 0);
  EXPECT_EQ(ECFIF_tam_resposta_ecf, 189);
  EXPECT_EQ(ECFIF_tam_retorno, 0);

  // Whatever the host sets, the copy never exceeds the return area.
  // Also the answer buffer grows past its first size.
  const unsigned char v50 = 50;  // 780 data bytes
  on_frame(data_answer(Bytes(780, 'x')));
  ECFIF_maxtam_resposta = 100000;
  EXPECT_EQ(ECFBMTC_exec_argum(35, &v50, 1), 0);
  EXPECT_EQ(ECFIF_tam_resposta_ecf, 783);
  EXPECT_EQ(ECFIF_tam_retorno, 0);
}

TEST_F(ExchangeTest, ClosingPreCheck) {
  struct Case {
    std::uint8_t estado_doc;
    Answer variable17;
    bool close_sent;
    int result;
  };
  const Bytes read17 = frame_of(35, {17});
  const Bytes close = frame_of(34);
  const Case cases[] = {
      {0, {0x06, 0x00, 0x00}, false, 0},  // no receipt open: nothing to close
      {0, {0x06, 0x01, 0x00}, true, 0},   // receipt open: close it
      {1, silence(), false, 37},          // the read fails: its result
      {3, {}, true, 0},                   // non-fiscal receipt: no check
  };
  for (const auto &c : cases) {
    reset();
    BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC] = c.estado_doc;
    if (c.estado_doc != 3) expect(read17, c.variable17);
    if (c.close_sent) expect(close, ok);
    EXPECT_EQ(ECFBMTC_exec(34), c.result);
    EXPECT_EQ(frames().size(), (c.estado_doc != 3 ? 1u : 0u) + (c.close_sent ? 1u : 0u));
    EXPECT_EQ(pending_steps(), 0u);
  }
}

TEST_F(ExchangeTest, AllocationFailureGivesFortyFour) {
  fail_allocations_after(1);
  EXPECT_EQ(ECFBMTC_exec(19), 44);
  EXPECT_EQ(live_allocations(), 0);
  EXPECT_EQ(ECFIF_buffer_protocolo, nullptr);
  fail_allocations_after(-1);
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec(19), 0);
}

TEST_F(ExchangeTest, FrameBufferGrowsForLongArguments) {
  const Bytes args(300, 'x');
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec_argum(67, args.data(), 300), 0);
  EXPECT_EQ(frames().at(0).size(), 307u);
}

}  // namespace
}  // namespace ecftest
