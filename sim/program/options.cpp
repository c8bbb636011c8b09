#include "program/options.h"

#include "core/model_table.h"
#include "program/number_text.h"

#include <charconv>
#include <cstdio>
#include <string_view>

namespace ecfsim::program {

namespace {

constexpr uint32_t kMaxBaud = 4'000'000;
// Ten years either way: far enough for any day, month or year turn.
constexpr int64_t kMaxClockOffset = int64_t{3660} * 86400;

// Seconds, or a number followed by m, h or d; an optional sign.
bool parse_offset(std::string_view text, int64_t &out) {
  int64_t unit = 1;
  if (!text.empty()) {
    switch (text.back()) {
      case 'm':
        unit = 60;
        break;
      case 'h':
        unit = 3600;
        break;
      case 'd':
        unit = 86400;
        break;
      default:
        break;
    }
    if (unit != 1) text.remove_suffix(1);
  }
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  const char *end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return false;
  if (value > kMaxClockOffset / unit || value < -kMaxClockOffset / unit) return false;
  out = value * unit;
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
constexpr std::string_view kValued[] = {"--model",          "--protocol",    "--link",  "--baud",
                                        "--delay",          "--state",       "--paper", "--fault",
                                        "--reduction-busy", "--clock-offset"};

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
  } else if (name == "--clock-offset") {
    if (!parse_offset(value, o.clock_offset_s))
      return bad("expected seconds, or a number and m, h or d");
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

std::optional<Options> parse_options(const std::vector<std::string> &args, std::string &error) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (arg == "--version" || arg == "-V") {
      o.version = true;
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

// One line per model, by code: code, name, print width, generation.
static std::string model_list() {
  std::string text;
  for (int code = 1; code <= 14; ++code) {
    const ModelInfo *m = find_model(code);
    if (m == nullptr) continue;
    char line[96];
    std::snprintf(line, sizeof line, "  %2d  %-22.*s %d columns%s\n", code,
                  static_cast<int>(m->reported_name.size()), m->reported_name.data(), m->columns,
                  model_is_mfd(code) ? ", MFD" : "");
    text += line;
  }
  return text;
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
  --clock-offset T     run the printer's clock T ahead of the system's (behind
                       when negative): seconds, or a number and m, h or d, e.g.
                       1d to find a Reduction Z due the next morning; default 0
  --state FILE         printer memory: loaded at start when FILE exists (a file
                       that is not a saved state stops the program), written
                       after every command that changed it and on exit
  --paper FILE         append the printed paper to FILE, one line at a time,
                       in UTF-8 (the printer prints Latin-1); default
                       standard output
  --fault FAULT        inject a fault; may be repeated. FAULT is one of:
                         refuse-every=N   answer every Nth good frame with 15h
                                          and do not execute it
                         drop-every=N     execute every Nth command but send
                                          no answer
                         late=MS          answer every command MS later
                         junk=N           send N noise bytes before each 06h
                         delay-answer=CMD[@K]:MS
                                          answer command CMD MS later
                         drop-answer=CMD[@K]
                                          execute command CMD but send no
                                          answer
                         die-before=CMD[@K]:MS
                                          die on receiving command CMD, without
                                          executing it; back MS later
                         die-after=CMD[@K]:MS
                                          execute command CMD, then die before
                                          answering; back MS later
                         stale-at-connect[=N]
                                          whenever the host opens the terminal,
                                          send N noise bytes and then a
                                          leftover answer (06h and status
                                          bytes saying "not executed"), at
                                          the --baud pace
                         paper-out        the printer is out of paper
                         paper-near-end   the paper is near its end
                         memory-full      the fiscal memory is full
                       CMD is a command number, 0 to 255, or 62/SUB for the
                       two-byte commands; @K strikes only its Kth arrival
                       (resent frames count), without it every one. A dead
                       printer takes no bytes, sends none and holds CTS low;
                       what it had yet to send is lost, its memory is kept.
  -h, --help           show this text and exit
  -V, --version        print the version and exit

Exit status: 0 after a clean stop, 1 on a bad command line, 2 when the
terminal, the state file or the paper file cannot be used.

Models (--model takes the name or the code):
)" + model_list();
}

}  // namespace ecfsim::program
