// ecfsim: a fiscal printer on a pseudo-terminal.
#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/printer.h"
#include "program/host_sessions.h"
#include "program/options.h"
#include "program/paper.h"
#include "program/pseudo_terminal.h"
#include "program/serve.h"
#include "program/state_file.h"
#include "program/terminal_link.h"
#include "wire/device.h"

namespace ecfsim::program {
namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFailure = 2;

volatile sig_atomic_t g_stop = 0;

void on_stop_signal(int) {
  g_stop = 1;
}

int fail(const std::string &message) {
  std::fprintf(stderr, "ecfsim: %s\n", message.c_str());
  return kExitFailure;
}

// Keeps the state file in step with the printer: written whenever the
// printer's memory differs from what the file holds.
class StateKeeper {
 public:
  StateKeeper(std::string path, const Printer &printer)
      : path_(std::move(path)), printer_(printer) {}

  bool load(Printer &printer, std::string &error) {
    if (path_.empty()) return true;
    std::string bytes;
    switch (read_state_file(path_, bytes, error)) {
      case StateRead::Missing:
        return true;
      case StateRead::Failed:
        return false;
      case StateRead::Loaded:
        break;
    }
    if (!printer.load(bytes)) {
      error = "state file " + path_ + " is not a saved printer state";
      return false;
    }
    saved_ = std::move(bytes);
    return true;
  }

  void save_if_changed(bool force = false) {
    if (path_.empty()) return;
    std::string now = printer_.save();
    if (!force && now == saved_) return;
    std::string error;
    if (write_state_file(path_, now, error))
      saved_ = std::move(now);
    else
      std::fprintf(stderr, "ecfsim: %s\n", error.c_str());
  }

 private:
  std::string path_;
  const Printer &printer_;
  std::string saved_;
};

void set_faults(PrinterFaults &target, const PrinterFaults &wanted) {
  target.paper_out = target.paper_out || wanted.paper_out;
  target.paper_near_end = target.paper_near_end || wanted.paper_near_end;
  target.fiscal_memory_full = target.fiscal_memory_full || wanted.fiscal_memory_full;
}

bool install_signals(sigset_t &wait_mask) {
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  // Taken only inside the wait, so a stop is never missed between checks.
  if (sigprocmask(SIG_BLOCK, &stop_signals, &wait_mask) != 0) return false;
  sigdelset(&wait_mask, SIGINT);
  sigdelset(&wait_mask, SIGTERM);

  struct sigaction sa {};
  sa.sa_handler = on_stop_signal;
  sigemptyset(&sa.sa_mask);
  if (sigaction(SIGINT, &sa, nullptr) != 0 || sigaction(SIGTERM, &sa, nullptr) != 0) return false;
  sa.sa_handler = SIG_IGN;
  return sigaction(SIGPIPE, &sa, nullptr) == 0;
}

int run(const Options &options) {
  PaperRoll paper(options.paper_file);
  if (!paper.is_open()) return fail(paper.error());

  PrinterConfig config;
  config.model_code = options.model_code;
  config.reduction_busy_ms = options.reduction_busy_ms;
  config.clock_offset_s = options.clock_offset_s;
  config.paper = [&paper](std::string_view line) { paper.print_line(line); };
  Printer printer(config);

  std::string error;
  StateKeeper state(options.state_file, printer);
  if (!state.load(printer, error)) return fail(error);
  set_faults(printer.faults(), options.printer_faults);

  sigset_t wait_mask;
  if (!install_signals(wait_mask)) return fail("cannot set up signals");

  PseudoTerminal terminal;
  if (!terminal.is_open()) return fail(terminal.error());
  // Watched before anyone learns the path, so no open is missed. Only the
  // stale burst cannot do without it.
  HostSessions hosts(terminal.slave_path(), terminal.slave_fd());
  if (!hosts.is_open() && options.wire_faults.stale_at_connect) return fail(hosts.error());

  if (!options.link.empty() && !make_terminal_link(options.link, terminal.slave_path(), error))
    return fail(error);

  std::printf("%s\n", terminal.slave_path().c_str());
  std::fflush(stdout);

  WireConfig wire;
  wire.protocol = options.protocol;
  wire.baud = options.baud;
  wire.pace_requests = true;
  wire.delay_ms = options.delay_ms;
  Device device(
      [&](uint16_t command, std::string_view args) {
        Reply reply = printer.execute(command, args);
        state.save_if_changed();
        return reply;
      },
      wire);
  device.faults() = options.wire_faults;

  const bool served = serve(terminal.master_fd(), device, g_stop, wait_mask, error, &hosts);

  state.save_if_changed(true);
  if (!options.link.empty()) remove_terminal_link(options.link, terminal.slave_path());
  return served ? 0 : fail(error);
}

}  // namespace
}  // namespace ecfsim::program

int main(int argc, char **argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const std::optional<ecfsim::program::Options> options =
      ecfsim::program::parse_options(args, error);
  if (!options) {
    std::fprintf(stderr, "ecfsim: %s\nTry 'ecfsim --help'.\n", error.c_str());
    return ecfsim::program::kExitUsage;
  }
  if (options->version) {
    std::printf("ecfsim %s\n", ECF_VERSION);
    return 0;
  }
  if (options->help) {
    std::fputs(ecfsim::program::usage_text().c_str(), stdout);
    return 0;
  }
  return ecfsim::program::run(*options);
}
