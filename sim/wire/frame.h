// Request frames as the printer receives them:
//   02h, length (2 bytes, low first), 1Bh or 1Ch, command (1 byte, or 62 and
//   a sub-command), arguments, checksum (2 bytes, low first).
// The length counts the bytes from the 1Bh/1Ch through the checksum; the
// checksum is the sum of every byte from the 1Bh/1Ch through the last argument.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ecfsim {

inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;
inline constexpr uint8_t kEtx = 0x03;
inline constexpr uint8_t kStartBasic = 0x1B;
inline constexpr uint8_t kStartExtended = 0x1C;
inline constexpr uint8_t kTwoByteCommand = 62;

// Shortest body: start byte, one command byte, two checksum bytes.
inline constexpr size_t kMinFrameBody = 4;
// Longest body taken; anything longer is refused, never buffered.
inline constexpr size_t kMaxFrameBody = 4096;

// A checked frame, split into its parts.
struct Frame {
  uint8_t start = 0;     // 1Bh, 1Ch, or whatever the host sent there
  uint16_t command = 0;  // 0..255, or 62 * 256 + sub-command
  std::string args;
};

// Sum of the bytes, modulo 65536, as the frame's checksum counts them.
uint16_t frame_checksum(std::string_view bytes);

// A whole frame for `command` (one byte, or 62 * 256 + sub) with `args`.
std::string build_frame(uint8_t start, uint16_t command, std::string_view args);

// Splits a frame body (start byte through the last argument; no checksum)
// into start, command and arguments.
Frame split_frame_body(std::string_view body);

// Byte-by-byte frame reader with a stall time-out.
class FrameParser {
 public:
  enum class Event { None, FrameReady, Refused };

  explicit FrameParser(int64_t stall_timeout_ms) : stall_timeout_ms_(stall_timeout_ms) {}

  // Takes one byte received at `now_ms`. FrameReady: frame() holds the
  // frame; Refused: bad length or checksum (answer 15h).
  Event push(uint8_t b, int64_t now_ms);

  const Frame &frame() const { return frame_; }
  // True while a frame has begun but not ended.
  bool in_frame() const { return stage_ != Stage::Idle; }

 private:
  enum class Stage : uint8_t { Idle, LengthLow, LengthHigh, Body };

  Event take_body_byte(uint8_t b);

  int64_t stall_timeout_ms_;
  Stage stage_ = Stage::Idle;
  int64_t last_byte_ms_ = 0;
  size_t length_ = 0;
  size_t have_ = 0;
  std::array<uint8_t, kMaxFrameBody> body_{};
  Frame frame_;
};

}  // namespace ecfsim
