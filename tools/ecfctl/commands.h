// ecfctl's subcommands.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ecfctl {

struct Options {
  std::string device;                       // serial device, for the host kit
  int port = 0;                             // the host's port number; 0: the host kit's
  long speed = 0;                           // bits per second; 0: $ECF_SERIAL_SPEED or 115200
  std::vector<std::string> driver_options;  // each to ECFIF_tratou_argumento
  std::string log_file;
  int log_mode = -1;  // -1: the host kit's default
  std::string state_path = "ecfctl.state";
  std::string lib_dir;  // empty: ../lib beside the program
  bool quiet = false;   // no progress line, no "ok" lines
  bool timing = false;  // time and wire time on stderr
};

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;      // the driver returned a failure
inline constexpr int kExitUsage = 2;        // bad command line or script
inline constexpr int kExitEnvironment = 3;  // libraries, state file, missing operation
inline constexpr int kExitInterrupted = 130;

int run_command(const Options &options, const std::vector<std::string> &args);

class Session;
struct Step;
// Runs one operation of the sale script and prints its outcome under
// `label`; returns an exit code.
int perform(Session &s, const Step &st, std::string_view label);
// The exit code, and whether the printer may have done the step although
// its answer was lost (a time-out or a failed line after the frame went out).
struct Performed {
  int code;
  bool answer_lost;
};
Performed perform_step(Session &s, const Step &st, std::string_view label);

// One programmed entry of the printer's tax table: type, code (2 bytes), rate.
using TaxEntry = std::array<unsigned char, 10>;
// Reads the programmed entries; 0 or the failing result.
int read_rates(Session &s, std::vector<TaxEntry> &rates);

void print_usage();

}  // namespace ecfctl
