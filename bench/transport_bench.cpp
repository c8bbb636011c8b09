// The line's figures in one run, each with its goal, against the emulator:
//  P1  the share of a core the driver uses while the printer takes 2 s to
//      answer a status read;
//  P2  status round trips through the driver and the host kit against bare
//      round trips of the same bytes on the same pseudo-terminal, with the
//      printer answering at once and after 20 ms;
//  P3  the README's demo sale through ecfctl against the emulator program
//      pacing both directions at 115200 baud, against the wire time of its
//      bytes;
//  the modem-status and line-error queries per status command, on a
//      pseudo-terminal made to look like a port with modem lines.
#include "ecfbmtc.h"
#include "platform/platform.h"

#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "demo_sale.h"
#include "emulated_printer.h"
#include "modem_lines.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<unsigned char>;

const Bytes status_frame{0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00};

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
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Points the driver at a fresh emulated printer.
std::unique_ptr<bench::EmulatedPrinter> printer(uint32_t delay_ms) {
  ECFIF_fim_protocolo();
  auto p = std::make_unique<bench::EmulatedPrinter>(delay_ms, 0);
  if (!p->ok()) return nullptr;
  setenv("ECF_SERIAL_DEVICE", p->device().c_str(), 1);
  return p;
}

// One status exchange on the terminal without the driver: the frame out,
// `answer` bytes back.
bool bare_round_trip(int fd, int answer) {
  if (write(fd, status_frame.data(), status_frame.size()) !=
      static_cast<ssize_t>(status_frame.size()))
    return false;
  int got = 0;
  while (got < answer) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) return false;
    unsigned char buf[64];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) got += static_cast<int>(n);
  }
  return true;
}

struct RoundTrips {
  double driver_us = 0;
  double bare_us = 0;
  bool ok = false;
};

// Driver and bare round trips alternate one by one, so both see the same
// load of the machine; medians keep other processes' bursts out.
RoundTrips round_trips(uint32_t delay_ms, int count) {
  RoundTrips out;
  auto p = printer(delay_ms);
  if (!p || ECFBMTC_le_status() != 0) return out;
  const int answer = ECFIF_tam_resposta_ecf;
  std::vector<double> driver;
  std::vector<double> bare;
  for (int i = 0; i < count; ++i) {
    auto t0 = Clock::now();
    if (!bare_round_trip(p->slave(), answer)) return out;
    bare.push_back(seconds_since(t0) * 1e6);
    t0 = Clock::now();
    if (ECFBMTC_le_status() != 0) return out;
    driver.push_back(seconds_since(t0) * 1e6);
  }
  out = {median(driver), median(bare), true};
  return out;
}

// The share of a core while the printer needs 2 s per answer.
double slow_printer_share(int reads) {
  auto p = printer(2000);
  if (!p) return -1;
  std::vector<double> shares;
  for (int i = 0; i < reads; ++i) {
    const double c0 = thread_cpu_seconds();
    const auto t0 = Clock::now();
    if (ECFBMTC_le_status() != 0) return -1;
    shares.push_back((thread_cpu_seconds() - c0) / seconds_since(t0));
  }
  return median(shares);
}

double queries_per_status(int reads) {
  auto p = printer(0);
  if (!p || ECFBMTC_le_status() != 0) return -1;
  const long before = bench::modem_queries();
  for (int i = 0; i < reads; ++i)
    if (ECFBMTC_le_status() != 0) return -1;
  return static_cast<double>(bench::modem_queries() - before) / reads;
}

const char *verdict(bool met) {
  return met ? "met" : "NOT MET";
}

}  // namespace

int main(int argc, char **argv) {
  // Where the demo sale keeps its files: on the disk, not in memory.
  const std::string work_dir = argc > 1 ? argv[1] : ".";
  ECFIF_porta_serial = 1;
  ECFIF_veloc_serial = 115200;
  ECFLOG_modo = 0;
  bool all_met = true;

  const double share = slow_printer_share(3);
  const bool p1 = share >= 0 && share <= 0.001;
  std::printf("P1 printer answering in 2 s: the driver uses %.3f%% of a core (goal <= 0.1%%): %s\n",
              share * 100, verdict(p1));
  all_met &= p1;

  for (const auto &[delay, count] : {std::pair{0u, 10000}, std::pair{20u, 100}}) {
    const RoundTrips r = round_trips(delay, count);
    const double ratio = r.bare_us > 0 ? r.driver_us / r.bare_us : 0;
    const bool met = r.ok && ratio <= 1.05;
    std::printf(
        "P2 status round trip, printer answering after %u ms: driver %.1f us, bare %.1f us, "
        "%.3fx (goal <= 1.05x): %s\n",
        delay, r.driver_us, r.bare_us, ratio, verdict(met));
    all_met &= met;
  }

  const auto sales = bench::demo_sales(work_dir, 115200, 5);
  std::vector<double> ratios;
  std::vector<double> secs;
  std::vector<double> wire;
  for (const auto &s : sales) {
    ratios.push_back(s.seconds / s.wire_seconds);
    secs.push_back(s.seconds);
    wire.push_back(s.wire_seconds);
  }
  const double sale_ratio = median(ratios);
  const bool p3 = !sales.empty() && sale_ratio <= 1.05;
  std::printf(
      "P3 demo sale at 115200 baud, both directions paced: %.3f s for %.3f s of wire, %.3fx "
      "(goal <= 1.05x): %s\n",
      median(secs), median(wire), sale_ratio, verdict(p3));
  all_met &= p3;

  const double q = queries_per_status(200);
  const bool qm = q >= 0 && q <= 2;
  std::printf(
      "modem-status and line-error ioctls per status command (one frame): %.2f (goal <= 2 per "
      "frame): %s\n",
      q, verdict(qm));
  all_met &= qm;
  ECFIF_fim_protocolo();
  return all_met ? 0 : 1;
}
