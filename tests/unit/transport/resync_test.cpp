// Keeping the line in step: stale answers, noise, late answers and dead lines.
#include <memory>
#include <string>

#include "emulated_printer.h"
#include "sale/sale_steps.h"
#include "transport/test_support.h"

namespace ecftest {
namespace {

using ResyncTest = DriverTest;

const Answer ok{0x06, 0x00, 0x00};
const unsigned char flags_var = 17;

int read_flags() {
  return ECFBMTC_exec_argum(35, &flags_var, 1);
}

TEST_F(ResyncTest, StaleBytesAreNeverTakenForTheNextAnswer) {
  struct Case {
    const char *what;
    int command;
    Answer first;  // times out; what it sends comes after that
  };
  const Case cases[] = {
      {"late answer, there before the next frame", 35,
       Answer{}.pause_ms(31010).add({0x06, 0x5A, 0x00, 0x00})},
      {"late answer, arriving while the next is awaited", 35,
       Answer{}.pause_ms(31500).add({0x06, 0x5A, 0x00, 0x00})},
      {"rest of an answer cut short", 29,
       Answer{0x06, 0x01, 0x02}.pause_ms(10000).add({0x06, 0x07, 0x00, 0x00, 0x00, 0x00})},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    on_frame(c.first);
    // The printer answers every later frame a little after it.
    set_default_answer(Answer{}.pause_ms(5).add({0x06, 0x00, 0x00}));
    EXPECT_EQ(c.command == 35 ? read_flags() : ECFBMTC_exec(c.command), 37);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(ECFBMTC_exec(19), 0);
      EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
    }
    // Every answer that came was taken once, or drained: none is left over.
    set_default_answer(Answer{0x06, 0x01, 0x00, 0x00});
    EXPECT_EQ(read_flags(), 0);
    EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00, 0x01}));
  }
}

TEST_F(ResyncTest, ARejectedAnswerIsAskedAgainOnlyForAReadCommand) {
  for (const int command : {19, 9}) {
    reset();
    // Two stale bytes trail the answer of the first frame after opening.
    on_frame(Answer{0x06, 0x00, 0x00}.pause_ms(5).add({0x00, 0x00}));
    set_default_answer(ok);
    const int r = ECFBMTC_exec(command);
    if (command == 19) {
      EXPECT_EQ(r, 0);
      EXPECT_EQ(frames().size(), 2u);
    } else {
      // The printer may have acted: its answer is lost, not refused.
      EXPECT_EQ(r, 37);
      EXPECT_EQ(frames().size(), 1u);
    }
  }
}

TEST_F(ResyncTest, AHealthyLineIsNotDrainedBeforeEveryFrame) {
  set_default_answer(ok);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ECFBMTC_exec(19), 0);
  // The set-up's discard and the drain after opening; none per frame.
  EXPECT_EQ(port_calls().inicia_rx, 2);
  EXPECT_LT(now_ms(), 200);
}

TEST_F(ResyncTest, APortThatDoesNotOpenFailsAtOnce) {
  set_open_result(-1);
  EXPECT_EQ(ECFBMTC_le_status(), 36);
  EXPECT_EQ(ECFBMTC_le_parametro(flags_var), 36);
  EXPECT_EQ(port_calls().ativa, 2);
  EXPECT_TRUE(transmitted().empty());
  EXPECT_LT(now_ms(), 50);
  for (const auto &[kind, text] : host().notices) EXPECT_NE(text, "Lendo status ECF");
}

// A device that sends without end once it has heard a frame.
struct Noise : LinePeer {
  explicit Noise(Bytes pattern) : pattern(std::move(pattern)) { set_peer(this); }
  ~Noise() override { set_peer(nullptr); }
  void from_driver(std::uint8_t, std::int64_t) override { started = true; }
  int to_driver(std::int64_t now) override {
    if (!started || now == last) return -1;
    last = now;
    return pattern[sent++ % pattern.size()];
  }
  Bytes pattern;
  bool started = false;
  std::int64_t last = -1;
  std::size_t sent = 0;
};

// Worst cases on the virtual clock: at most one answer window, plus the
// drains that find the line never quiet. Before, noise cost five windows.
TEST_F(ResyncTest, DeadLinesCostOneAnswerWindowNotMinutes) {
  struct Case {
    const char *what;
    Bytes noise;
    std::function<int()> call;
    std::int64_t bound_ms;
  };
  const Case cases[] = {
      {"noise without acknowledgements, variable read",
       {0x55, 0xAA, 0x30},
       [] { return ECFBMTC_le_parametro(17); },
       34'000},
      {"noise with acknowledgements, variable read",
       {0x06, 0x55, 0xAA},
       [] { return ECFBMTC_le_parametro(17); },
       3'000},
      {"noise without acknowledgements, configuration",
       {0x55, 0xAA, 0x30},
       [] { return ECFIF_pega_configuracao(); },
       40'000},
      {"noise with acknowledgements, status",
       {0x06, 0x06, 0xAA},
       [] { return ECFBMTC_le_status(); },
       3'000},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    Noise noise(c.noise);
    EXPECT_NE(c.call(), 0);
    EXPECT_LE(now_ms(), c.bound_ms);
  }
}

// Before, a read on a dead line paid five answer windows: 155 s for a total
// or a payment, 217 s for the close. Now each command sent pays one.
TEST_F(ResyncTest, APrinterDyingMidSaleCostsOneAnswerWindowPerCommand) {
  for (const bool ext : {false, true}) {
    fresh_driver(ext);
    EmulatedPrinter printer;
    const auto &steps = whole_sale();
    std::size_t i = 0;
    for (; steps[i].name != "item 1"; ++i) ASSERT_EQ(steps[i].call(), 0) << steps[i].name;
    printer.cut = true;
    for (; i < steps.size(); ++i) {
      const auto start = now_ms();
      steps[i].call();
      // One answer window and a drain a command; the close sends three.
      constexpr std::int64_t window_ms = 32'000;
      EXPECT_LE(now_ms() - start, window_ms * (steps[i].name == "close" ? 3 : 1)) << steps[i].name;
    }
  }
}

}  // namespace
}  // namespace ecftest
