// The test platform: every platform interface of the driver, scripted for
// unit tests. A virtual clock runs every wait instantly; a scripted serial
// line answers the driver's frames; logs, notices and port calls are recorded.
#pragma once

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ecftest {

using Bytes = std::vector<std::uint8_t>;

// ---- Virtual clock --------------------------------------------------------
// Every yield (SERIPC_escalador, ECFCOMUM_escalador) advances the clock by
// the tick. BIOSRTC_* read it.
std::int64_t now_ms();
void advance_ms(std::int64_t ms);
void set_tick_ms(std::int64_t ms);  // default 1

// ---- A whole device behind the line ---------------------------------------
struct LinePeer {
  virtual ~LinePeer() = default;
  virtual void from_driver(std::uint8_t b, std::int64_t now_ms) = 0;
  virtual int to_driver(std::int64_t now_ms) = 0;  // -1: nothing to send now
  virtual bool cts(std::int64_t /*now_ms*/) { return true; }
  virtual int line_errors() { return 0; }  // bits 0 parity, 1 overrun, 2 framing
};
// While a peer is set every byte goes to it and comes from it; the script is
// not used. nullptr returns to the scripted line.
void set_peer(LinePeer *peer);

// ---- Scripted line --------------------------------------------------------
// What the printer does after one frame: bytes, pauses, line errors and
// windows of CTS held inactive, in order, timed from the end of the frame.
class Answer {
 public:
  struct Event {
    enum Kind { byte, pause, error, cts_off } kind;
    int value;        // byte value or error bits
    std::int64_t ms;  // pause or CTS window length
  };
  Answer() = default;
  Answer(std::initializer_list<int> bytes) { add(bytes); }
  Answer &add(std::initializer_list<int> bytes);
  Answer &add(const Bytes &bytes);
  Answer &add(std::string_view text);
  Answer &pause_ms(std::int64_t ms);
  Answer &line_error(int bits);
  Answer &cts_off_ms(std::int64_t ms);  // CTS inactive for ms from here
  const std::vector<Event> &events() const { return events_; }

 private:
  std::vector<Event> events_;
};

Answer refusal();  // 15h
Answer silence();  // nothing at all

// The next frame must equal `frame`; the printer then answers.
void expect(const Bytes &frame, Answer answer);
// The next frame, whatever it is, gets this answer.
void on_frame(Answer answer);
// Frames beyond the script get this answer (default: silence).
void set_default_answer(Answer answer);
std::size_t pending_steps();
// Frames that differed from their expectation (readable descriptions).
const std::vector<std::string> &mismatches();

const Bytes &transmitted();   // every byte the driver transmitted
std::vector<Bytes> frames();  // the same, split into frames
void clear_transmitted();

void set_cts(bool active);             // default true
void set_transmit_result(int result);  // what nSERIALtransm returns (default 0)
void set_open_result(int result);      // what n_ativaSERIAL returns (default 0)
void set_tx_pending(bool pending);     // nSERIALstatusTX > 0 while true

struct PortCalls {
  int conf = 0, ativa = 0, inicia_rx = 0, encerra = 0, transm = 0, cts = 0;
  long speed = 0;                  // last nSERIALconf speed
  int port = 0;                    // last port number used
  std::vector<std::string> order;  // names of the set-up and closing calls
};
const PortCalls &port_calls();

// Frame helpers.
Bytes frame_of(int wire_code, const Bytes &args = {}, bool extended = false);

// ---- Log ------------------------------------------------------------------
// ECFLOG_print lines as formatted; ECFLOG_dump as "label:" + " XX" per byte.
const std::vector<std::string> &log_lines();
bool log_has(std::string_view line);
void clear_log();

// ---- Host common library --------------------------------------------------
struct HostRecord {
  int envelope_inicia = 0;
  int envelope_termina = 0;
  std::vector<std::pair<int, std::string>> notices;  // "(null)" for no text
  std::vector<std::string> common_args;              // ECFCOMUM_tratou_argumento
  int common_result = 0;                             // what it returns
};
HostRecord &host();

// ---- Allocation -----------------------------------------------------------
void fail_allocations_after(int successes);  // -1: never fail
int live_allocations();

// ---- Reset ----------------------------------------------------------------
// Restores the driver (settings, answer state, persistent record, buffers,
// port) and the platform to their initial state.
void reset();

// A whole file's bytes, or "<missing>" when it cannot be opened.
inline std::string read_file(const char *name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return "<missing>";
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace ecftest
