// Draining the line until it is quiet, on the millisecond clock.
#include "transport/line_sync.h"

#include <algorithm>
#include <cstdint>

#include "ecfbmtc/transport.h"
#include "platform/platform.h"

namespace ecf::transport {

namespace {

LineState g_line;
constexpr int batch = 4096;

struct Quiet {
  bool reached = false;
  long dropped = 0;
};

// Reads and drops bytes until a quiet window passes without one, or `limit_ms` in
// all, or the first byte when `first_byte_ends`. Line errors are taken (and
// cleared) with the bytes they came with.
Quiet wait_for_quiet(long limit_ms, bool first_byte_ends = false) {
  const int port = ECFIF_porta_serial;
  const long quiet_ms = quiet_window_ms();
  const std::int64_t start = line_now_ms();
  std::int64_t last = start;
  Quiet q;
  // Only the host's short yield: the line's own may block far longer than
  // the window, and both return as soon as a byte arrives.
  for (;;) {
    const std::int64_t now = line_now_ms();
    if (now - last >= quiet_ms) {
      q.reached = true;
      return q;
    }
    if (now - start >= limit_ms) return q;
    nSERIALerro(port, 1);
    // What has arrived goes at once, a bounded batch a pass.
    for (int i = 0; i < batch && nSERIALleRX(port) >= 0; ++i) {
      ++q.dropped;
      if (first_byte_ends) return q;
      last = now;
    }
    ECFCOMUM_escalador();
  }
}

}  // namespace

LineState &line_state() {
  return g_line;
}

std::int64_t line_now_ms() {
  BIOSRTC_timeb t{};
  BIOSRTC_ftime(&t);
  return static_cast<std::int64_t>(t.segundos) * 1000 + t.milissegundos;
}

int resynchronise() {
  nSERIALiniciaRX(ECFIF_porta_serial);
  const Quiet q = wait_for_quiet(settle_limit_ms);
  if ((ECFLOG_modo & 1) && (q.dropped > 0 || !q.reached))
    ECFLOG_print(q.reached ? "resinc,%ld desc." : "resinc,%ld desc.,sem pausa", q.dropped);
  if (!q.reached) return 37;
  g_line.out_of_step = false;
  return 0;
}

long quiet_window_ms() {
  constexpr long bit_ms_per_byte = 10 * 1000;  // 10 bits a byte, in ms at 1 bit/s
  constexpr long window_bytes = 20;
  const long speed = ECFIF_veloc_serial;
  if (speed <= 0) return quiet_max_ms;
  return std::clamp(window_bytes * bit_ms_per_byte / speed, quiet_min_ms, quiet_max_ms);
}

bool quiet_after_answer() {
  const Quiet q = wait_for_quiet(quiet_window_ms() + 1, true);
  return q.reached && q.dropped == 0;
}

}  // namespace ecf::transport
