// --fault FAULT: the faults of the line, of the printer's serial side and of
// the fiscal side, by name.
#include <string_view>

#include "program/number_text.h"
#include "program/options.h"

namespace ecfsim::program {

namespace {

constexpr uint32_t kMaxNoise = 4096;

// Splits `text` at the first `sep`: false when it is not there.
bool split_at(std::string_view text, char sep, std::string_view &head, std::string_view &tail) {
  const size_t at = text.find(sep);
  if (at == std::string_view::npos) return false;
  head = text.substr(0, at);
  tail = text.substr(at + 1);
  return true;
}

// A command as the driver numbers it: 0..255, or 62/SUB for a two-byte one.
bool parse_command(std::string_view text, uint16_t &out) {
  std::string_view first, sub;
  uint32_t value = 0, sub_value = 0;
  if (!split_at(text, '/', first, sub)) {
    if (!parse_uint(text, 255, value)) return false;
    out = static_cast<uint16_t>(value);
    return true;
  }
  if (first != "62" || !parse_uint(sub, 255, sub_value)) return false;
  out = static_cast<uint16_t>(62 * 256 + sub_value);
  return true;
}

// CMD or CMD@K, K counted from 1.
bool parse_target(std::string_view text, CommandFault &fault) {
  std::string_view command, occurrence;
  if (!split_at(text, '@', command, occurrence)) return parse_command(text, fault.command);
  return parse_command(command, fault.command) &&
         parse_uint(occurrence, UINT32_MAX, fault.occurrence) && fault.occurrence > 0;
}

// CMD[@K], or CMD[@K]:MS when the fault takes a time.
bool parse_command_fault(std::string_view value, bool timed, CommandFault &fault) {
  if (!timed) return parse_target(value, fault);
  std::string_view target, ms;
  return split_at(value, ':', target, ms) && parse_target(target, fault) &&
         parse_uint(ms, kMaxMilliseconds, fault.ms);
}

struct CommandFaultName {
  std::string_view name;
  CommandFault::Kind kind;
  bool timed;
};

constexpr CommandFaultName kCommandFaults[] = {
    {"delay-answer", CommandFault::Kind::Delay, true},
    {"drop-answer", CommandFault::Kind::Drop, false},
    {"die-before", CommandFault::Kind::DieBefore, true},
    {"die-after", CommandFault::Kind::DieAfter, true},
};

bool apply_flag(std::string_view name, Options &o) {
  if (name == "paper-out") return o.printer_faults.paper_out = true;
  if (name == "paper-near-end") return o.printer_faults.paper_near_end = true;
  if (name == "memory-full") return o.printer_faults.fiscal_memory_full = true;
  if (name == "stale-at-connect") return o.wire_faults.stale_at_connect = true;
  return false;
}

}  // namespace

bool apply_fault(const std::string &fault, Options &o) {
  std::string_view name, value;
  if (!split_at(fault, '=', name, value)) return apply_flag(fault, o);

  WireFaults &w = o.wire_faults;
  if (name == "refuse-every") return parse_uint(value, UINT32_MAX, w.refuse_every);
  if (name == "drop-every") return parse_uint(value, UINT32_MAX, w.drop_every);
  if (name == "late") return parse_uint(value, kMaxMilliseconds, w.late_ms);
  if (name == "junk") return parse_uint(value, kMaxNoise, w.junk);
  if (name == "stale-at-connect")
    return parse_uint(value, kMaxNoise, w.stale_noise) && (w.stale_at_connect = true);
  for (const CommandFaultName &n : kCommandFaults) {
    if (n.name != name) continue;
    CommandFault f;
    f.kind = n.kind;
    if (!parse_command_fault(value, n.timed, f)) return false;
    w.commands.push_back(f);
    return true;
  }
  return false;
}

}  // namespace ecfsim::program
