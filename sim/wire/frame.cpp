#include "wire/frame.h"

namespace ecfsim {

uint16_t frame_checksum(std::string_view bytes) {
  uint32_t sum = 0;
  for (char c : bytes) sum += static_cast<uint8_t>(c);
  return static_cast<uint16_t>(sum & 0xFFFFu);
}

std::string build_frame(uint8_t start, uint16_t command, std::string_view args) {
  std::string body(1, static_cast<char>(start));
  if (command > 0xFF) body.push_back(static_cast<char>(command >> 8));
  body.push_back(static_cast<char>(command & 0xFF));
  body.append(args);
  const uint16_t sum = frame_checksum(body);
  const size_t length = body.size() + 2;

  std::string frame;
  frame.reserve(length + 3);
  frame.push_back(static_cast<char>(kStx));
  frame.push_back(static_cast<char>(length & 0xFF));
  frame.push_back(static_cast<char>((length >> 8) & 0xFF));
  frame.append(body);
  frame.push_back(static_cast<char>(sum & 0xFF));
  frame.push_back(static_cast<char>(sum >> 8));
  return frame;
}

Frame split_frame_body(std::string_view body) {
  Frame f;
  if (body.empty()) return f;
  f.start = static_cast<uint8_t>(body[0]);
  size_t pos = 1;
  if (pos < body.size()) {
    f.command = static_cast<uint8_t>(body[pos++]);
    // 62 is only ever the first half of a two-byte command.
    if (f.command == kTwoByteCommand && pos < body.size())
      f.command = static_cast<uint16_t>(kTwoByteCommand * 256 + static_cast<uint8_t>(body[pos++]));
  }
  f.args.assign(body.substr(pos));
  return f;
}

FrameParser::Event FrameParser::push(uint8_t b, int64_t now_ms) {
  // A frame that went quiet is abandoned; this byte starts afresh.
  if (stage_ != Stage::Idle && now_ms - last_byte_ms_ > stall_timeout_ms_) stage_ = Stage::Idle;
  last_byte_ms_ = now_ms;

  switch (stage_) {
    case Stage::Idle:
      if (b == kStx) stage_ = Stage::LengthLow;  // anything else is line noise
      return Event::None;
    case Stage::LengthLow:
      length_ = b;
      stage_ = Stage::LengthHigh;
      return Event::None;
    case Stage::LengthHigh:
      length_ |= static_cast<size_t>(b) << 8;
      if (length_ < kMinFrameBody || length_ > kMaxFrameBody) {
        stage_ = Stage::Idle;
        return Event::Refused;
      }
      have_ = 0;
      stage_ = Stage::Body;
      return Event::None;
    case Stage::Body:
      return take_body_byte(b);
  }
  return Event::None;
}

FrameParser::Event FrameParser::take_body_byte(uint8_t b) {
  body_[have_++] = b;
  if (have_ < length_) return Event::None;

  stage_ = Stage::Idle;
  const std::string_view body(reinterpret_cast<const char *>(body_.data()), length_ - 2);
  const uint16_t sent = static_cast<uint16_t>(body_[length_ - 2] | (body_[length_ - 1] << 8));
  if (sent != frame_checksum(body)) return Event::Refused;
  frame_ = split_frame_body(body);
  return Event::FrameReady;
}

}  // namespace ecfsim
