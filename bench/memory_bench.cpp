// A streamed fiscal-memory reading of a whole emulated year of reductions,
// through the driver and the host kit, from the emulator program paced at the
// line speed on a pseudo-terminal. Prints the bytes streamed, the time and
// the throughput against the line rate (10 bits a byte); the goal is 95%.
//
//   memory_bench [DAYS_AT_115200 [DAYS_AT_9600]]   (defaults 365 and 30)
//
// A year at 9600 baud streams for about five minutes; pass 365 to measure it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/daily_reductions.h"
#include "core/printer.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

extern char **environ;

namespace {

long g_bytes = 0;

int count_char(int) {
  ++g_bytes;
  return 0;
}

std::string year_state(int days) {
  ecfsim::PrinterConfig c;
  c.model_code = 12;
  c.reduction_busy_ms = 0;
  ecfsim::Printer p(c);
  ecfsim::make_daily_reductions(p, days);
  return p.save();
}

// The emulator program on a pseudo-terminal; its first output line names it.
struct Emulator {
  pid_t pid = -1;
  std::string device;

  Emulator(const std::string &state, long baud) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    const std::string b = std::to_string(baud);
    const char *argv[] = {ECFSIM_PROGRAM, "--model", "12",          "--baud",
                          b.c_str(),      "--state", state.c_str(), nullptr};
    if (posix_spawn(&pid, argv[0], &fa, nullptr, const_cast<char *const *>(argv), environ) != 0)
      pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    char c;
    pollfd p{out[0], POLLIN, 0};
    while (pid > 0 && poll(&p, 1, 10000) > 0 && read(out[0], &c, 1) == 1 && c != '\n')
      device.push_back(c);
    close(out[0]);
  }
  ~Emulator() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
  }
};

bool measure(long baud, int days) {
  char dir[] = "/tmp/ecf_memory_bench_XXXXXX";
  if (mkdtemp(dir) == nullptr) return false;
  const std::string state = std::string(dir) + "/printer.state";
  const std::string bytes = year_state(days);
  if (FILE *f = std::fopen(state.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  bool ok = false;
  {
    Emulator emulator(state, baud);
    if (emulator.device.empty()) {
      std::fprintf(stderr, "the emulator did not start\n");
    } else {
      setenv("ECF_SERIAL_DEVICE", emulator.device.c_str(), 1);
      ECFIF_porta_serial = 1;
      ECFIF_veloc_serial = static_cast<int>(baud);
      char range[16];
      std::snprintf(range, sizeof range, "0001%04d", days);
      g_bytes = 0;
      const auto start = std::chrono::steady_clock::now();
      const int r = ECFIF_mf_em_disco_por_reducao(count_char, nullptr, range, 1);
      const double s =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      ECFIF_fim_protocolo();
      const double line = static_cast<double>(baud) / 10.0;
      std::printf(
          "%6ld baud, %3d reductions: result %d, %ld bytes in %.2f s, %.0f bytes/s, "
          "%.1f%% of the line rate (%.0f bytes/s)\n",
          baud, days, r, g_bytes, s, g_bytes / s, 100.0 * g_bytes / s / line, line);
      ok = r == 0;
    }
  }
  std::remove(state.c_str());
  rmdir(dir);
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  const int fast_days = argc > 1 ? std::atoi(argv[1]) : 365;
  const int slow_days = argc > 2 ? std::atoi(argv[2]) : 30;
  bool ok = measure(115200, fast_days > 0 ? fast_days : 365);
  ok = measure(9600, slow_days > 0 ? slow_days : 30) && ok;
  return ok ? 0 : 1;
}
