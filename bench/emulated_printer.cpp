#include "emulated_printer.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "program/serve.h"

namespace bench {

namespace {

// The serving thread stops on this signal; only that thread takes it, and
// only while it waits.
constexpr int stop_signal = SIGUSR1;
volatile sig_atomic_t stop_requested = 0;

void on_stop(int) {
  stop_requested = 1;
}

ecfsim::PrinterConfig printer_config() {
  ecfsim::PrinterConfig c;
  c.model_code = 12;  // MP-4000 TH FI
  return c;
}

ecfsim::WireConfig wire_config(uint32_t delay_ms, uint32_t baud) {
  ecfsim::WireConfig w;
  w.delay_ms = delay_ms;
  w.baud = baud;
  w.pace_requests = baud > 0;
  return w;
}

}  // namespace

EmulatedPrinter::EmulatedPrinter(uint32_t delay_ms, uint32_t baud)
    : printer_(printer_config()), device_(printer_, wire_config(delay_ms, baud)) {
  char name[128] = {};
  termios raw{};
  cfmakeraw(&raw);
  if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
    std::perror("openpty");
    master_ = slave_ = -1;
    return;
  }
  name_ = name;
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  fcntl(slave_, F_SETFL, fcntl(slave_, F_GETFL) | O_NONBLOCK);

  struct sigaction sa {};
  sa.sa_handler = on_stop;
  sigaction(stop_signal, &sa, nullptr);
  sigset_t blocked;
  sigemptyset(&blocked);
  sigaddset(&blocked, stop_signal);
  // Every thread starts with the signal blocked; the serving loop opens it
  // only inside its wait.
  pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
  stop_requested = 0;
  thread_ = std::thread([this] {
    sigset_t wait_mask;
    pthread_sigmask(SIG_BLOCK, nullptr, &wait_mask);
    sigdelset(&wait_mask, stop_signal);
    std::string error;
    if (!ecfsim::program::serve(master_, device_, stop_requested, wait_mask, error))
      std::fprintf(stderr, "emulator: %s\n", error.c_str());
  });
  handle_ = thread_.native_handle();
}

EmulatedPrinter::~EmulatedPrinter() {
  if (thread_.joinable()) {
    pthread_kill(handle_, stop_signal);
    thread_.join();
  }
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
}

}  // namespace bench
