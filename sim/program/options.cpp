#include "program/options.h"

#include <charconv>
#include <string_view>

namespace ecfsim::program {

namespace {

constexpr uint32_t kMaxMilliseconds = 24u * 3600u * 1000u;
constexpr uint32_t kMaxBaud = 4'000'000;
constexpr uint32_t kMaxJunk = 4096;

bool parse_uint(std::string_view text, uint32_t max, uint32_t &out) {
  uint32_t value = 0;
  const char *end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value > max) return false;
  out = value;
  return true;
}

bool parse_protocol(std::string_view text, Protocol &out) {
  if (text == "basic") {
    out = Protocol::Basic;
    return true;
  }
  if (text == "extended") {
    out = Protocol::Extended;
    return true;
  }
  return false;
}

// Options that take a value; the value may follow as the next argument or
// after "=".
constexpr std::string_view kValued[] = {"--model", "--protocol", "--link",
                                        "--baud",  "--delay",    "--state",
                                        "--paper", "--fault",    "--reduction-busy"};

bool takes_value(std::string_view name) {
  for (std::string_view v : kValued)
    if (v == name) return true;
  return false;
}

bool apply_option(std::string_view name, const std::string &value, Options &o, std::string &error) {
  const auto bad = [&](const char *what) {
    error = std::string(name) + ": " + what + ": \"" + value + "\"";
    return false;
  };
  if (name == "--model") {
    const int code = model_code_from_name(value);
    if (code == 0) return bad("unknown model");
    o.model_code = code;
  } else if (name == "--protocol") {
    if (!parse_protocol(value, o.protocol)) return bad("expected basic or extended");
  } else if (name == "--link") {
    if (value.empty()) return bad("empty path");
    o.link = value;
  } else if (name == "--baud") {
    if (!parse_uint(value, kMaxBaud, o.baud)) return bad("expected 0 to 4000000");
  } else if (name == "--delay") {
    if (!parse_uint(value, kMaxMilliseconds, o.delay_ms)) return bad("expected milliseconds");
  } else if (name == "--reduction-busy") {
    if (!parse_uint(value, kMaxMilliseconds, o.reduction_busy_ms))
      return bad("expected milliseconds");
  } else if (name == "--state") {
    if (value.empty()) return bad("empty path");
    o.state_file = value;
  } else if (name == "--paper") {
    if (value.empty()) return bad("empty path");
    o.paper_file = value;
  } else if (name == "--fault") {
    if (!apply_fault(value, o)) return bad("unknown fault");
  }
  return true;
}

}  // namespace

bool apply_fault(const std::string &fault, Options &o) {
  const size_t eq = fault.find('=');
  const std::string_view name = std::string_view(fault).substr(0, eq);
  const std::string_view value =
      eq == std::string::npos ? std::string_view() : std::string_view(fault).substr(eq + 1);
  const bool has_value = eq != std::string::npos;

  if (!has_value) {
    if (name == "paper-out") return o.printer_faults.paper_out = true;
    if (name == "paper-near-end") return o.printer_faults.paper_near_end = true;
    if (name == "memory-full") return o.printer_faults.fiscal_memory_full = true;
    return false;
  }
  if (name == "refuse-every") return parse_uint(value, UINT32_MAX, o.wire_faults.refuse_every);
  if (name == "drop-every") return parse_uint(value, UINT32_MAX, o.wire_faults.drop_every);
  if (name == "late") return parse_uint(value, kMaxMilliseconds, o.wire_faults.late_ms);
  if (name == "junk") return parse_uint(value, kMaxJunk, o.wire_faults.junk);
  return false;
}

std::optional<Options> parse_options(const std::vector<std::string> &args, std::string &error) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    if (!takes_value(name)) {
      error = "unknown option \"" + arg + "\"";
      return std::nullopt;
    }
    std::string value;
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = name + ": missing value";
      return std::nullopt;
    }
    if (!apply_option(name, value, o, error)) return std::nullopt;
  }
  return o;
}

std::string usage_text() {
  return R"(Usage: ecfsim [OPTION]...
Emulates a fiscal printer on a pseudo-terminal. Prints the terminal's path
on the first line of standard output, then serves it until SIGINT or SIGTERM.

Options (a value may also be given as --option=VALUE):
  --model NAME|CODE    printer model by name ("MP-4000 TH FI", "MP-20 FI II",
                       ...) or code 1..14; default 12 (MP-4000 TH FI)
  --protocol P         basic (1Bh frames) or extended (1Ch frames): the protocol
                       of answers to frames that name neither; every request is
                       answered in its own protocol; default basic
  --link PATH          also make PATH a symbolic link to the terminal (an old
                       link there is replaced); removed on exit
  --baud N             pace requests and answers at N bits per second, 10 bits
                       a byte; 0 = no pacing, as fast as possible (default)
  --delay MS           processing time of each command before its answer;
                       default 0
  --reduction-busy MS  MFD models: time the printer stays busy (no answers)
                       after a Reduction Z; default 2000
  --state FILE         printer memory: loaded at start when FILE exists (a file
                       that is not a saved state stops the program), written
                       after every command that changed it and on exit
  --paper FILE         append the printed paper to FILE, one line at a time;
                       default standard output
  --fault FAULT        inject a fault; may be repeated. FAULT is one of:
                         refuse-every=N   answer every Nth good frame with 15h
                                          and do not execute it
                         drop-every=N     execute every Nth command but send
                                          no answer
                         late=MS          answer every command MS later
                         junk=N           send N noise bytes before each 06h
                         paper-out        the printer is out of paper
                         paper-near-end   the paper is near its end
                         memory-full      the fiscal memory is full
  -h, --help           show this text and exit

Exit status: 0 after a clean stop, 1 on a bad command line, 2 when the
terminal, the state file or the paper file cannot be used.
)";
}

}  // namespace ecfsim::program
