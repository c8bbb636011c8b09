// Measures, through the host kit over a pseudo-terminal:
//  (a) the processor share the driver takes while a printer needs 2 s to
//      answer a status read;
//  (b) 1000 status reads through the driver against a printer that answers
//      at once, next to 1000 bare round trips of the same bytes over the same
//      pseudo-terminal;
//  (c) the processor share of a 1 s driver pause while bytes nobody reads
//      wait on the line.
#include "ecfbmtc.h"
#include "platform/platform.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<unsigned char>;

const Bytes status_frame{0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00};
const Bytes status_answer{0x06, 0x00, 0x00};

// Plays the printer on the master side: answers every frame with 06 00 00,
// after the configured delay.
class Printer {
 public:
  explicit Printer(int master) : master_(master) {
    if (pipe(stop_pipe_) != 0) std::abort();
    thread_ = std::thread([this] { run(); });
  }
  ~Printer() {
    const char c = 0;
    [[maybe_unused]] const ssize_t n = write(stop_pipe_[1], &c, 1);
    thread_.join();
    close(stop_pipe_[0]);
    close(stop_pipe_[1]);
  }
  void set_delay(std::chrono::milliseconds d) { delay_ms_ = static_cast<int>(d.count()); }

 private:
  void run() {
    Bytes pending;
    for (;;) {
      pollfd p[2] = {{master_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
      if (poll(p, 2, -1) < 0) continue;
      if (p[1].revents != 0) return;
      unsigned char buf[256];
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) continue;
      pending.insert(pending.end(), buf, buf + n);
      while (pending.size() >= 3) {
        if (pending[0] != 0x02) {
          pending.erase(pending.begin());
          continue;
        }
        const std::size_t total = 3 + (pending[1] | (pending[2] << 8));
        if (pending.size() < total) break;
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(total));
        if (delay_ms_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms_.load()));
        [[maybe_unused]] const ssize_t w =
            write(master_, status_answer.data(), status_answer.size());
      }
    }
  }

  int master_;
  int stop_pipe_[2] = {-1, -1};
  std::atomic<int> delay_ms_{0};
  std::thread thread_;
};

double thread_cpu_seconds() {
  rusage r{};
  getrusage(RUSAGE_THREAD, &r);
  return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

double seconds_since(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double mean(const std::vector<double> &v) {
  return v.empty() ? 0 : std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

// One status exchange on the slave descriptor without the driver.
bool bare_round_trip(int fd) {
  if (write(fd, status_frame.data(), status_frame.size()) !=
      static_cast<ssize_t>(status_frame.size()))
    return false;
  std::size_t got = 0;
  while (got < status_answer.size()) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 1000) <= 0) return false;
    unsigned char buf[16];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) got += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

int main() {
  int master = -1;
  int slave = -1;
  char name[128] = {};
  termios raw{};
  cfmakeraw(&raw);
  if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
    std::perror("openpty");
    return 1;
  }
  fcntl(slave, F_SETFL, fcntl(slave, F_GETFL) | O_NONBLOCK);
  setenv("ECF_SERIAL_DEVICE", name, 1);
  ECFIF_porta_serial = 1;
  ECFLOG_modo = 0;

  Printer printer(master);
  for (int i = 0; i < 20; ++i) {
    if (ECFBMTC_le_status() != 0 || !bare_round_trip(slave)) {
      std::fprintf(stderr, "warm-up exchange failed\n");
      return 1;
    }
  }

  // (b) status reads, driver and bare alternating one by one so that both
  // see the same machine load; medians keep other processes' bursts out.
  constexpr int reads = 1000;
  std::vector<double> driver_us;
  std::vector<double> bare_us;
  int failures = 0;
  for (int i = 0; i < reads; ++i) {
    auto t0 = Clock::now();
    failures += bare_round_trip(slave) ? 0 : 1;
    bare_us.push_back(seconds_since(t0) * 1e6);
    t0 = Clock::now();
    failures += ECFBMTC_le_status() == 0 ? 0 : 1;
    driver_us.push_back(seconds_since(t0) * 1e6);
  }

  // (a) a printer that takes 2 s to answer.
  printer.set_delay(std::chrono::seconds(2));
  constexpr int slow_reads = 2;
  double cpu = 0;
  double wall = 0;
  for (int i = 0; i < slow_reads; ++i) {
    const double c0 = thread_cpu_seconds();
    const auto t0 = Clock::now();
    failures += ECFBMTC_exec(19) == 0 ? 0 : 1;
    wall += seconds_since(t0);
    cpu += thread_cpu_seconds() - c0;
  }
  printer.set_delay(std::chrono::milliseconds(0));

  // (c) unsolicited bytes arrive while the driver pauses without reading.
  const unsigned char noise[] = {0x41, 0x42, 0x43};
  [[maybe_unused]] const ssize_t w = write(master, noise, sizeof noise);
  const double c0 = thread_cpu_seconds();
  const auto t0 = Clock::now();
  ECFBMTCAUX_ms_retardo(1000);
  const double pause_wall = seconds_since(t0);
  const double pause_cpu = thread_cpu_seconds() - c0;
  ECFIF_fim_protocolo();

  const double share = cpu / wall;
  const double driver_med = median(driver_us);
  const double bare_med = median(bare_us);
  const double ratio = driver_med / bare_med;
  std::printf(
      "slow printer (2 s per answer, %d reads): driver used %.1f ms of processor in %.0f ms\n",
      slow_reads, cpu * 1e3, wall * 1e3);
  std::printf("  processor share while waiting: %.4f (%.2f%% of one processor; target below 2%%)\n",
              share, share * 100);
  std::printf(
      "status reads (%d each): driver %.1f us per read (mean %.1f), bare pseudo-terminal %.1f us "
      "per round "
      "trip (mean %.1f)\n",
      reads, driver_med, mean(driver_us), bare_med, mean(bare_us));
  std::printf("  driver / bare round-trip ratio of the medians: %.2f (target at most 1.5)\n",
              ratio);
  std::printf("pause with unread input waiting: %.1f ms of processor in %.0f ms (%.2f%%)\n",
              pause_cpu * 1e3, pause_wall * 1e3, pause_cpu / pause_wall * 100);
  if (failures != 0) std::printf("failed exchanges: %d\n", failures);
  close(slave);
  close(master);
  return failures == 0 ? 0 : 1;
}
