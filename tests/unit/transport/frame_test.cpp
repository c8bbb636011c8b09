// Frames on the wire and the dispatcher's classification and log line.
#include "transport/test_support.h"

namespace ecftest {
namespace {

using FrameTest = LineTest;

TEST_F(FrameTest, StatusReadAndPseudoCommandOnTheWire) {
  // The extended protocol has its own start byte and an upper-case log label.
  struct Case {
    bool ext;
    int cmd;
    Bytes frame;
    const char *label;
  };
  for (const Case &c :
       {Case{false, 19, {0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00}, "b19!"},
        Case{true, 19, {0x02, 0x04, 0x00, 0x1C, 0x13, 0x2F, 0x00}, "B19!"},
        Case{false, 6260, {0x02, 0x06, 0x00, 0x1B, 0x3E, 0x3C, 0x31, 0xC6, 0x00}, "b6260!"},
        Case{true, 6260, {0x02, 0x06, 0x00, 0x1C, 0x3E, 0x3C, 0x31, 0xC7, 0x00}, "B6260!"}}) {
    SCOPED_TRACE(c.label);
    reset();
    ECFLOG_modo = 1;
    if (c.ext) extended();
    expect(c.frame, c.ext ? Answer{0x06, 0x00, 0x00, 0x00, 0x00} : ok);
    const unsigned char arg = 0x31;
    EXPECT_EQ(c.cmd == 19 ? ECFBMTC_exec(19) : ECFBMTC_exec_argum(c.cmd, &arg, 1), 0);
    EXPECT_TRUE(log_has(c.label));
    EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
    if (c.cmd == 6260) {
      EXPECT_EQ(ECFIF_ultimo_comando, 15932);
      EXPECT_TRUE(c.ext || log_has("b6260: 31"));
    } else {
      EXPECT_EQ(returned_bytes(), (Bytes{0x06, 0x00, 0x00}));
      EXPECT_EQ(ECFIF_retornado[3], 0);
    }
  }
}

TEST_F(FrameTest, ArgumentsPassTheCharacterFilterUnlessLiteral) {
  const unsigned char text[] = {0xE9, 'a'};  // "ea" with an acute accent
  on_frame(ok);
  on_frame(ok);
  EXPECT_EQ(ECFBMTC_exec_argum(67, text, 2), 0);  // filtered
  EXPECT_EQ(ECFBMTC_exec_argum(22, text, 2), 0);  // literal
  const auto f = frames();
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0][5], 'e');
  EXPECT_EQ(f[1][5], 0xE9);
}

TEST_F(FrameTest, LogLinesOfTheResult) {
  struct Case {
    bool ext;
    Answer answer;
    int result;
    const char *line;
  };
  for (const Case &c : {Case{false, {0x06, 0x00, 0x01}, 34, "b22#34."},
                        Case{false, {0x06, 0x40, 0x00}, 0, "b22<: 06 40 00"},
                        Case{true, {0x06, 0x00, 0x01, 0x0C, 0x00}, 39, "B22{12}#39."},
                        Case{true, {0x06, 0x10, 0x01, 0x05, 0x00}, 12, "10,01{5}=>12."}}) {
    reset();
    ECFLOG_modo = 1;
    if (c.ext) extended();
    on_frame(c.answer);
    EXPECT_EQ(ECFBMTC_exec(22), c.result);
    EXPECT_TRUE(log_has(c.line)) << c.line;
  }
}

TEST_F(FrameTest, RefusedBeforeSending) {
  ECFLOG_modo = 1;
  EXPECT_EQ(ECFBMTC_exec(-1), 15);
  EXPECT_EQ(ECFBMTC_exec(8), 2);
  EXPECT_EQ(ECFBMTC_exec(35), 2);
  EXPECT_TRUE(transmitted().empty());
  EXPECT_EQ(host().envelope_inicia, 0);
  EXPECT_EQ(log_lines(), (std::vector<std::string>{"b-1", "b8", "b35"}));
}

TEST_F(FrameTest, UnknownVariableIsReadAsThreeStatusFirstBytes) {
  ECFLOG_modo = 1;
  on_frame({0x06, 0x00, 0x00, 0x01, 0x02, 0x03});
  const unsigned char v = 36;
  EXPECT_EQ(ECFBMTC_exec_argum(35, &v, 1), 0);
  EXPECT_TRUE(log_has("35(36),fim tab(tamresp=3)."));
  EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00, 0x01, 0x02, 0x03}));
}

TEST(ClassBits, BitNLivesInByteNOverEight) {
  unsigned char bits[2] = {0, 0};
  BMTCLOCAL_seta_bit(bits, 9);
  EXPECT_EQ(bits[1], 0x02);
  EXPECT_EQ(BMTCLOCAL_testa_bit(bits, 9), 1);
  EXPECT_EQ(BMTCLOCAL_testa_bit(bits, 1), 0);
  BMTCLOCAL_reseta_bit(bits, 9);
  EXPECT_EQ(bits[1], 0);
}

}  // namespace
}  // namespace ecftest
