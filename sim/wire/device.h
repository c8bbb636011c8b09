// The printer as a byte-level serial device: bytes from the host, bytes to
// the host, a clock in milliseconds that the caller passes in. It reads the
// frames, hands each command to the fiscal side, and sends the answer in the
// protocol of the request, paced like a real line, with the faults a real
// line and printer show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/printer.h"
#include "wire/frame.h"
#include "wire/reply_encoding.h"

namespace ecfsim {

struct WireConfig {
  // For answers to frames whose start byte names neither protocol.
  Protocol protocol = Protocol::Basic;
  uint32_t baud = 0;                 // answers paced at this speed, 10 bits a byte; 0 = at once
  bool pace_requests = false;        // requests too take their wire time before they act
  uint32_t delay_ms = 0;             // time the printer takes over each command
  uint32_t stall_timeout_ms = 1000;  // a frame quiet this long is dropped
  size_t max_pending_bytes = size_t{1} << 20;  // answers beyond this are lost
};

// A fault that strikes one command: every time it comes, or only the Kth
// time the printer takes it (retries count).
struct CommandFault {
  enum class Kind : uint8_t {
    Delay,      // the answer comes `ms` late
    Drop,       // executed, the answer is lost
    DieBefore,  // the printer dies on receiving it, not executed; back after `ms`
    DieAfter,   // the printer dies once it has executed it, no answer; back after `ms`
  };
  Kind kind = Kind::Drop;
  uint16_t command = 0;     // 0..255, or 62 * 256 + sub-command
  uint32_t occurrence = 0;  // 1 = the first time; 0 = every time
  uint32_t ms = 0;

  friend bool operator==(const CommandFault &, const CommandFault &) = default;
};

// Faults of the line and of the printer's serial side. Counters of the
// "every" kind count good frames (refuse) or executed commands (drop) from 1.
struct WireFaults {
  uint32_t refuse_every = 0;  // every Nth good frame gets 15h and is not executed
  uint32_t refuse_next = 0;   // the next so many good frames get 15h
  uint32_t drop_every = 0;    // every Nth command is executed but not answered
  uint32_t drop_next = 0;     // the next so many commands are not answered
  uint32_t late_ms = 0;       // added to the processing delay of every answer
  uint32_t junk = 0;          // noise bytes sent before every 06h
  bool cts_low = false;       // hold CTS inactive
  int line_errors = 0;        // bits 0 parity, 1 overrun, 2 framing; reported once
  // On each connect(): this many noise bytes, then a leftover answer, go
  // out at the line's pace before anything else.
  bool stale_at_connect = false;
  uint32_t stale_noise = 0;
  // The first that matches a command applies to it.
  std::vector<CommandFault> commands;
};

class Device {
 public:
  using Handler = std::function<Reply(uint16_t command, std::string_view args)>;

  explicit Device(Handler handler, WireConfig config = {});
  // Wires the fiscal side of `printer`, which must outlive the device.
  explicit Device(Printer &printer, WireConfig config = {});

  // The host has opened the line.
  void connect(int64_t now_ms) { connect_us(now_ms * 1000); }
  void connect_us(int64_t now_us);

  // The line peer's four operations.
  void from_host(uint8_t b, int64_t now_ms) { from_host_us(b, now_ms * 1000); }
  int to_host(int64_t now_ms) { return to_host_us(now_ms * 1000); }  // next byte due, or -1
  bool cts(int64_t now_ms) const { return cts_us(now_ms * 1000); }
  int line_errors();  // read-and-clear

  // When to_host() will next have a byte: a time, or -1 when nothing waits.
  int64_t next_byte_ms() const;

  // The same on a clock in microseconds, for pacing a real line.
  void from_host_us(uint8_t b, int64_t now_us);
  int to_host_us(int64_t now_us);
  bool cts_us(int64_t now_us) const;
  int64_t next_byte_us() const;
  // Bytes queued for the host and not yet taken.
  size_t pending_bytes() const { return pending_bytes_; }

  WireFaults &faults() { return faults_; }
  const WireConfig &config() const { return config_; }

 private:
  struct Outgoing {
    std::string bytes;
    int64_t start_us = 0;  // when the first byte starts on the line
    size_t sent = 0;
  };

  void on_frame(const Frame &frame, int64_t now_us);
  void on_refused_frame(int64_t now_us);
  bool take_refuse_fault();
  bool take_drop_fault();
  // Counts the command and gives the fault for this occurrence, if any.
  const CommandFault *take_command_fault(uint16_t command);
  void die(int64_t now_us, uint32_t ms);
  bool dead(int64_t now_us) const { return now_us < dead_until_us_; }
  Reply execute(const Frame &frame);
  // Queues an answer whose first byte may start at `ready_us`; returns the
  // time its last byte has been received by the host.
  int64_t queue(std::string bytes, int64_t ready_us);
  int64_t byte_due_us(const Outgoing &out, size_t index) const;
  int64_t line_time_us(size_t bytes) const;

  Handler handler_;
  WireConfig config_;
  WireFaults faults_;
  FrameParser parser_;
  std::deque<Outgoing> outgoing_;
  size_t pending_bytes_ = 0;
  int64_t line_free_us_ = 0;                  // the last queued byte is through by then
  int64_t request_start_us_ = 0;              // a burst of request bytes began on the line
  size_t request_bytes_ = 0;                  // bytes of that burst so far
  int64_t request_free_us_ = 0;               // its last byte has arrived by then
  int64_t busy_until_us_ = 0;                 // printing after a long command
  int64_t dead_until_us_ = 0;                 // the printer is off until then
  std::map<uint16_t, uint32_t> occurrences_;  // times each command was taken
  uint64_t good_frames_ = 0;
  uint64_t commands_ = 0;
};

}  // namespace ecfsim
