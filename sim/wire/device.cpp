#include "wire/device.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace ecfsim {

namespace {

constexpr int64_t kBitsPerByte = 10;
constexpr uint8_t kSt1NotEsc = 0x08;
constexpr uint8_t kSt2NotExecuted = 0x01;
constexpr uint16_t kExecNotEsc = 141;

// Noise on the line before an answer: never 06h or 15h, so it cannot be
// taken for the start of one.
constexpr uint8_t kJunk[] = {0x00, 0xFF, 0x55, 0xAA, 0x30};

bool every_nth(uint32_t n, uint64_t count) {
  return n > 0 && count % n == 0;
}

void append_junk(std::string &bytes, size_t n) {
  for (size_t i = 0; i < n; ++i) bytes.push_back(static_cast<char>(kJunk[i % std::size(kJunk)]));
}

}  // namespace

Device::Device(Handler handler, WireConfig config)
    : handler_(std::move(handler)), config_(config), parser_(config.stall_timeout_ms) {}

void Device::connect_us(int64_t now_us) {
  if (!faults_.stale_at_connect || dead(now_us)) return;
  // What a printer still busy with a killed host's commands sends: noise,
  // then the answer that host never read, a refusal, so that a host that
  // takes it for its own fails visibly. The noise first makes the answer
  // come after the host's flush at open.
  std::string bytes;
  append_junk(bytes, std::min<size_t>(faults_.stale_noise, config_.max_pending_bytes));
  Reply leftover;
  leftover.st2 = kSt2NotExecuted;
  bytes.append(encode_reply(leftover, config_.protocol));
  queue(std::move(bytes), now_us);
}

void Device::from_host_us(uint8_t b, int64_t now_us) {
  // A printer that is off hears nothing.
  if (dead(now_us)) return;
  // A paced request byte is there only once its bits are through, after
  // the bytes before it.
  if (config_.pace_requests && config_.baud > 0) {
    if (now_us >= request_free_us_) {
      request_start_us_ = now_us;
      request_bytes_ = 0;
    }
    ++request_bytes_;
    request_free_us_ = request_start_us_ + line_time_us(request_bytes_);
    now_us = request_free_us_;
  }
  switch (parser_.push(b, now_us / 1000)) {
    case FrameParser::Event::None:
      break;
    case FrameParser::Event::FrameReady:
      on_frame(parser_.frame(), now_us);
      break;
    case FrameParser::Event::Refused:
      on_refused_frame(now_us);
      break;
  }
}

int Device::to_host_us(int64_t now_us) {
  while (!outgoing_.empty()) {
    Outgoing &out = outgoing_.front();
    if (out.sent >= out.bytes.size()) {
      outgoing_.pop_front();
      continue;
    }
    if (now_us < byte_due_us(out, out.sent)) return -1;
    --pending_bytes_;
    return static_cast<uint8_t>(out.bytes[out.sent++]);
  }
  return -1;
}

bool Device::cts_us(int64_t now_us) const {
  return !faults_.cts_low && now_us >= busy_until_us_ && !dead(now_us);
}

int Device::line_errors() {
  const int bits = faults_.line_errors & 7;
  faults_.line_errors = 0;
  return bits;
}

int64_t Device::next_byte_us() const {
  for (const Outgoing &out : outgoing_)
    if (out.sent < out.bytes.size()) return byte_due_us(out, out.sent);
  return -1;
}

int64_t Device::next_byte_ms() const {
  // The first whole millisecond at which the byte is due.
  const int64_t us = next_byte_us();
  return us < 0 ? -1 : (us + 999) / 1000;
}

void Device::on_refused_frame(int64_t now_us) {
  // A refusal is the line's, not a command's: no processing delay.
  queue(std::string(1, static_cast<char>(kNak)), now_us);
}

void Device::on_frame(const Frame &frame, int64_t now_us) {
  // Busy printing: the printer does not see the frame at all.
  if (now_us < busy_until_us_) return;

  ++good_frames_;
  if (take_refuse_fault()) {
    on_refused_frame(now_us);
    return;
  }

  const CommandFault *fault = take_command_fault(frame.command);
  const CommandFault::Kind kind = fault ? fault->kind : CommandFault::Kind::Delay;
  if (fault && kind == CommandFault::Kind::DieBefore) {
    die(now_us, fault->ms);
    return;
  }
  ++commands_;
  const Protocol protocol = protocol_of_start(frame.start, config_.protocol);
  const Reply reply = execute(frame);
  if (fault && kind == CommandFault::Kind::DieAfter) {
    die(now_us, fault->ms);
    return;
  }
  const int64_t late_ms = int64_t{faults_.late_ms} +
                          (fault && kind == CommandFault::Kind::Delay ? int64_t{fault->ms} : 0);
  const int64_t ready_us = now_us + (int64_t{config_.delay_ms} + late_ms) * 1000;

  if ((fault && kind == CommandFault::Kind::Drop) || take_drop_fault()) {
    if (reply.busy_ms > 0) busy_until_us_ = ready_us + int64_t{reply.busy_ms} * 1000;
    return;
  }

  // More noise than the queue holds would only be thrown away.
  const size_t junk = std::min<size_t>(faults_.junk, config_.max_pending_bytes);
  std::string bytes;
  bytes.reserve(junk + reply.data.size() + 8);
  append_junk(bytes, junk);
  bytes.append(encode_reply(reply, protocol));
  const int64_t end_us = queue(std::move(bytes), ready_us);
  if (reply.busy_ms > 0) busy_until_us_ = end_us + int64_t{reply.busy_ms} * 1000;
}

bool Device::take_refuse_fault() {
  if (faults_.refuse_next > 0) {
    --faults_.refuse_next;
    return true;
  }
  return every_nth(faults_.refuse_every, good_frames_);
}

bool Device::take_drop_fault() {
  if (faults_.drop_next > 0) {
    --faults_.drop_next;
    return true;
  }
  return every_nth(faults_.drop_every, commands_);
}

const CommandFault *Device::take_command_fault(uint16_t command) {
  const uint32_t seen = ++occurrences_[command];
  for (const CommandFault &f : faults_.commands)
    if (f.command == command && (f.occurrence == 0 || f.occurrence == seen)) return &f;
  return nullptr;
}

void Device::die(int64_t now_us, uint32_t ms) {
  // What was still to go out is lost, and a frame half read is forgotten.
  outgoing_.clear();
  pending_bytes_ = 0;
  line_free_us_ = now_us;
  parser_ = FrameParser(config_.stall_timeout_ms);
  dead_until_us_ = now_us + int64_t{ms} * 1000;
}

Reply Device::execute(const Frame &frame) {
  if (frame.start != kStartBasic && frame.start != kStartExtended) {
    Reply r;
    r.st1 = kSt1NotEsc;
    r.st2 = kSt2NotExecuted;
    r.exec_status = kExecNotEsc;
    return r;
  }
  return handler_(frame.command, frame.args);
}

int64_t Device::queue(std::string bytes, int64_t ready_us) {
  // A host that never reads must not grow the queue without end.
  if (bytes.empty() || pending_bytes_ + bytes.size() > config_.max_pending_bytes) return ready_us;

  Outgoing out;
  out.start_us = std::max(ready_us, line_free_us_);
  out.bytes = std::move(bytes);
  line_free_us_ = out.start_us + line_time_us(out.bytes.size());
  pending_bytes_ += out.bytes.size();
  outgoing_.push_back(std::move(out));
  return line_free_us_;
}

int64_t Device::line_time_us(size_t bytes) const {
  if (config_.baud == 0) return 0;
  const int64_t bits = static_cast<int64_t>(bytes) * kBitsPerByte * 1000000;
  return (bits + config_.baud - 1) / config_.baud;
}

int64_t Device::byte_due_us(const Outgoing &out, size_t index) const {
  // A byte reaches the host once all of its bits are through.
  return out.start_us + line_time_us(index + 1);
}

}  // namespace ecfsim
