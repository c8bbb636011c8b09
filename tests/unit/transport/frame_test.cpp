// Frames on the wire and the dispatcher's classification and log line.
#include <unistd.h>

#include "transport/test_support.h"

namespace ecftest {
namespace {

using FrameTest = DriverTest;

const Answer ok{0x06, 0x00, 0x00};

TEST_F(FrameTest, StatusReadInTheBasicProtocol) {
    expect({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00}, ok);
    EXPECT_EQ(ECFBMTC_exec(19), 0);
    EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
    EXPECT_EQ(returned_bytes(), (Bytes{0x06, 0x00, 0x00}));
    EXPECT_EQ(ECFIF_retornado[3], 0);
}

TEST_F(FrameTest, StatusReadInTheExtendedProtocol) {
    extended();
    expect({0x02, 0x04, 0x00, 0x1C, 0x13, 0x2F, 0x00}, {0x06, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(ECFBMTC_exec(19), 0);
    EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
}

TEST_F(FrameTest, PseudoCommandGoesOutAsTwoBytes) {
    ECFLOG_modo = 1;
    expect({0x02, 0x06, 0x00, 0x1B, 0x3E, 0x3C, 0x31, 0xC6, 0x00}, ok);
    const unsigned char arg = 0x31;
    EXPECT_EQ(ECFBMTC_exec_argum(6260, &arg, 1), 0);
    EXPECT_EQ(ECFIF_ultimo_comando, 15932);
    EXPECT_TRUE(log_has("b6260: 31"));
    EXPECT_TRUE(log_has("b6260!"));
}

TEST_F(FrameTest, ExtendedLabelAndStartByte) {
    extended();
    ECFLOG_modo = 1;
    expect({0x02, 0x06, 0x00, 0x1C, 0x3E, 0x3C, 0x31, 0xC7, 0x00}, {0x06, 0x00, 0x00, 0x00, 0x00});
    const unsigned char arg = 0x31;
    EXPECT_EQ(ECFBMTC_exec_argum(6260, &arg, 1), 0);
    EXPECT_TRUE(log_has("B6260!"));
}

TEST_F(FrameTest, ChecksumIsSixteenBitsLowByteFirst) {
    // 200 bytes of FFh push the sum past 255 and keep it below 65536.
    const Bytes args(200, 0xFF);
    unsigned sum = 0x1B + 0x16;
    for (auto b : args) sum += b;
    Bytes frame{0x02, 204, 0x00, 0x1B, 0x16};
    for (auto b : args) frame.push_back(b);
    frame.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(sum >> 8));
    expect(frame, ok);
    EXPECT_EQ(ECFBMTC_exec_argum(22, args.data(), static_cast<int>(args.size())), 0);
}

TEST_F(FrameTest, ArgumentsPassTheCharacterFilterUnlessLiteral) {
    const unsigned char text[] = {0xE9, 'a'};  // "ea" with an acute accent
    on_frame(ok);
    on_frame(ok);
    EXPECT_EQ(ECFBMTC_exec_argum(67, text, 2), 0);   // filtered
    EXPECT_EQ(ECFBMTC_exec_argum(22, text, 2), 0);   // literal
    const auto f = frames();
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0][5], 'e');
    EXPECT_EQ(f[1][5], 0xE9);
}

TEST_F(FrameTest, LogLinesOfTheResult) {
    ECFLOG_modo = 1;
    on_frame({0x06, 0x00, 0x01});
    EXPECT_EQ(ECFBMTC_exec(22), 34);
    EXPECT_TRUE(log_has("b22#34."));

    on_frame({0x06, 0x40, 0x00});
    EXPECT_EQ(ECFBMTC_exec(22), 0);
    EXPECT_TRUE(log_has("b22<: 06 40 00"));
}

TEST_F(FrameTest, ExecutionStatusJoinsTheLabel) {
    extended();
    ECFLOG_modo = 1;
    on_frame({0x06, 0x00, 0x01, 0x0C, 0x00});
    EXPECT_EQ(ECFBMTC_exec(22), 39);
    EXPECT_TRUE(log_has("B22{12}#39."));
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

TEST_F(FrameTest, PrintedMemoryReadingIsAPlainAnswer) {
    char dir[] = "/tmp/ecf_frame_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    char old[512];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir), 0);
    on_frame({0x06, 0x00, 0x00});
    const char args[] = "010126020126x";  // byte 12 is not "R"
    EXPECT_EQ(ECFBMTC_exec_argum(8, reinterpret_cast<const unsigned char*>(args), 13), 0);
    EXPECT_NE(access("ARQ_MF.TXT", F_OK), 0);
    EXPECT_EQ(chdir(old), 0);
    rmdir(dir);
}

TEST_F(FrameTest, EveryExchangeIsEnveloped) {
    on_frame(ok);
    on_frame(silence());
    ECFBMTC_exec(19);
    ECFBMTC_exec(19);
    EXPECT_EQ(host().envelope_inicia, 2);
    EXPECT_EQ(host().envelope_termina, 2);
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
