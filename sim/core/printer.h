// The emulated printer's fiscal side: it takes one decoded command and gives
// the reply the wire layer encodes. It knows nothing of frames, protocols,
// pacing or faults on the line.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ecfsim {

// How the reply's bytes go on the wire.
enum class Layout : uint8_t {
  StatusFirst,  // 06h, ST1, ST2 [, exec status], data [, two further bytes]
  DataFirst,    // 06h, data, ST1, ST2 [, exec status]
  Stream,       // 06h, ST1, ST2 [, exec status], text ..., 03h
};

struct Reply {
  uint8_t st1 = 0;
  uint8_t st2 = 0;
  uint16_t exec_status = 0;  // sent in the extended protocol only
  Layout layout = Layout::StatusFirst;
  std::string data;  // fixed-length data, or the whole stream text
  // After this reply the printer stays busy (no answers) this long,
  // e.g. printing after a Reduction Z on MFD models.
  uint32_t busy_ms = 0;
};

// Faults the fiscal side itself can show.
struct PrinterFaults {
  bool paper_out = false;
  bool paper_near_end = false;
  bool fiscal_memory_full = false;
  // The mechanism cannot print: printing commands are refused with the
  // printer-error bit (execution status 12 or 13).
  bool head_lifted = false;
  bool offline = false;
};

// Where the printer's clock comes from: seconds since the Unix epoch, local
// civil time. Tests pass a fixed or stepping clock.
using ClockSource = std::function<int64_t()>;

// Receives every printed line, already laid out to the model's columns.
using PaperSink = std::function<void(std::string_view line)>;

struct PrinterConfig {
  int model_code = 12;                // 1..14, as in the driver's model table; 12 = MP-4000 TH FI
  uint32_t reduction_busy_ms = 2000;  // MFD models: silent time after a Reduction Z
  ClockSource clock;                  // empty: the system clock
  PaperSink paper;                    // empty: the paper is discarded
  int64_t clock_offset_s = 0;         // added to the clock, e.g. to reach the next day
};

class Printer {
 public:
  explicit Printer(PrinterConfig config);
  ~Printer();
  Printer(const Printer &) = delete;
  Printer &operator=(const Printer &) = delete;

  // One command: 0..255, or 62 * 256 + sub-command for the two-byte ones.
  // The arguments are the frame's argument bytes as received.
  Reply execute(uint16_t command, std::string_view args);

  // The printer's memory (counters, fiscal memory records, open document,
  // settings) as bytes for the state file, and back. load() returns false
  // and leaves the printer as it was when the bytes are not a saved state.
  std::string save() const;
  bool load(std::string_view bytes);

  PrinterFaults &faults();
  int model_code() const;
  bool is_mfd() const;
  int columns() const;

  // The printer's memory; its definition is internal to sim/core.
  struct State;

 private:
  std::unique_ptr<State> state_;
};

// Model lookup for the command line: a name as in the model table
// ("MP-4000 TH FI", also "MP-4000") or a code ("12"). 0 when unknown.
int model_code_from_name(std::string_view name_or_code);

}  // namespace ecfsim
