// Streamed answers captured to a file.
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "ecfbmtc/dayclose.h"
#include "emulated_printer.h"
#include "transport/test_support.h"

namespace ecftest {
namespace {

// The capture files go to a scratch working directory.
class StreamTest : public LineTest {
 protected:
  static int read_memory(char flag = 'R') {  // byte 12 "R": streamed
    char args[] = "000001000010R";
    args[12] = flag;
    return ECFBMTC_exec_argum(8, reinterpret_cast<const unsigned char *>(args), 13);
  }
  static std::string text(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
  }

 private:
  ScratchDir dir_;
};

TEST_F(StreamTest, StreamGoesToTheCaptureFile) {
  struct Case {
    bool ext;
    Answer head;
    std::string body;
  };
  // The long body is more than two buffers' worth: written in chunks.
  for (const Case &c : {Case{false, {0x06, 0x00, 0x00}, "line 1\r\nline 2\r\n"},
                        Case{false, {0x06, 0x00, 0x00}, text(5000)},
                        Case{true, {0x06, 0x00, 0x00, 0x00, 0x00}, "first line\n"}}) {
    reset();
    std::ofstream("ARQ_MF.TXT") << "old reading";
    if (c.ext) extended();
    on_frame(Answer(c.head).add(c.body).add({0x03}));
    EXPECT_EQ(read_memory(), 0);
    EXPECT_EQ(read_file("ARQ_MF.TXT"), c.body);
    EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
  }
  // The Reading X goes to its own file.
  reset();
  on_frame(Answer{0x06, 0x00, 0x00}.add("X").add({0x03}));
  EXPECT_EQ(ECFBMTC_exec(69), 0);
  EXPECT_EQ(read_file("ARQ_LX.TXT"), "X");
}

TEST_F(StreamTest, NoCaptureFileWithoutAStreamedAnswer) {
  struct Case {
    bool ext;
    bool disk;  // the export takes the lines instead of the file
    char flag;  // byte 12 of the arguments: "R" streamed
    Answer answer;
    int result;
  };
  for (const Case &c : {Case{false, false, 'R', {0x06, 0x00, 0x41}, 5},
                        Case{true, false, 'R', {0x06, 0x00, 0x01, 0x46, 0x00}, 2},  // exec. 70
                        Case{false, false, 'x', {0x06, 0x00, 0x00}, 0},
                        Case{false, true, 'R', Answer{0x06, 0x00, 0x00}.add("a\nb").add({3}), 0}}) {
    reset();
    if (c.ext) extended();
    BMTCLOCAL_chamou_em_disco = c.disk;
    on_frame(c.answer);
    EXPECT_EQ(read_memory(c.flag), c.result);
    BMTCLOCAL_chamou_em_disco = 0;
    EXPECT_EQ(read_file("ARQ_MF.TXT"), "<missing>") << c.flag << c.result;
  }
}

TEST_F(StreamTest, StreamBytesRenewTheDeadline) {
  // Three chunks 20 s apart: over a minute in all, never 30 s of silence.
  Answer a{0x06, 0x00, 0x00};
  for (int i = 0; i < 3; ++i) a.pause_ms(20000).add("chunk\n");
  on_frame(a.add({0x03}));
  EXPECT_EQ(read_memory(), 0);
  EXPECT_EQ(read_file("ARQ_MF.TXT"), "chunk\nchunk\nchunk\n");

  on_frame(Answer{0x06, 0x00, 0x00}.add("part").pause_ms(31000).add({0x03}));
  EXPECT_EQ(read_memory(), 37);
}

TEST_F(StreamTest, CaptureThatCannotBeOpened) {
  ASSERT_EQ(mkdir("ARQ_MF.TXT", 0700), 0);  // a directory in the way
  std::ofstream("ARQ_MF.TXT/keep") << "x";
  on_frame(Answer{0x06, 0x00, 0x00}.add("data").add({0x03}));
  EXPECT_EQ(read_memory(), 44);
}

}  // namespace
}  // namespace ecftest
