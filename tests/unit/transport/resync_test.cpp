// Keeping the line in step: stale answers, noise, late answers and dead lines.
#include "ecfbmtc/config.h"
#include "transport/test_support.h"

namespace ecftest {
namespace {

using ResyncTest = LineTest;

TEST_F(ResyncTest, StaleBytesAreNeverTakenForTheNextAnswer) {
  const Bytes late_var17{0x06, 0x5A, 0x00, 0x00};
  const struct {
    int command;
    Answer first;  // times out; what it sends comes after that
  } cases[] = {
      {35, Answer{}.pause_ms(31010).add(late_var17)},  // there before the next frame
      {35, Answer{}.pause_ms(31500).add(late_var17)},  // while the next is awaited
      {29, Answer{0x06, 0x01, 0x02}.pause_ms(10000).add({0x06, 0x07, 0, 0, 0, 0})},  // cut short
      {9, Answer{0x06, 0x00, 0x00}.pause_ms(5).add({0x00, 0x00})},  // more than an answer
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.command);
    reset();
    on_frame(c.first);
    set_default_answer(Answer{}.pause_ms(5).add({0x06, 0x00, 0x00}));
    const unsigned char v17 = 17;
    // An act's answer in doubt is lost (the printer may have acted), never asked again.
    EXPECT_EQ(ECFBMTC_exec_argum(c.command, &v17, c.command == 35), 37);
    EXPECT_EQ(frames().size(), 1u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(ECFBMTC_exec(19), 0);
      EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
    }
    set_default_answer(Answer{0x06, 0x01, 0x00, 0x00});
    EXPECT_EQ(ECFBMTC_le_parametro(17), 0);
    EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00, 0x01}));
  }
}

TEST_F(ResyncTest, AHealthyLineIsNotDrainedBeforeEveryFrame) {
  set_default_answer(ok);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ECFBMTC_exec(19), 0);
  // The set-up's discard and the drain after opening; none per frame.
  EXPECT_EQ(port_calls().inicia_rx, 2);
  EXPECT_LT(now_ms(), 100);
}

// Before, noise without 06h cost five answer windows (155 s) a read, and
// noise with it was taken for an answer.
TEST_F(ResyncTest, NoiseCostsAtMostOneAnswerWindowAndIsNeverAnAnswer) {
  const struct {
    Bytes pattern;
    std::int64_t bound_ms;
  } cases[] = {{{0x55, 0xAA, 0x30}, 34'000}, {{0x06, 0x55, 0x06}, 3'000}};
  for (const auto &c : cases) {
    reset();
    Answer noise;  // a byte a millisecond after every frame
    for (int i = 0; i < 40'000; ++i) noise.pause_ms(1).add({c.pattern[i % 3]});
    set_default_answer(noise);
    EXPECT_EQ(ECFIF_pega_configuracao(), 37);
    EXPECT_LE(now_ms(), c.bound_ms);
  }
}

}  // namespace
}  // namespace ecftest
