// The virtual clock: it moves only when the driver yields or a test says so.
#include "platform/clock.h"
#include "platform_state.h"

namespace ecftest {

namespace detail {
ClockState &clock() {
  static ClockState state;
  return state;
}
LineState &line() {
  static LineState state;
  return state;
}
void tick() {
  clock().now_ms += clock().tick_ms;
  ++clock().yields;
}
void reset_clock() {
  clock() = ClockState{};
}
}  // namespace detail

std::int64_t now_ms() {
  return detail::clock().now_ms;
}
void advance_ms(std::int64_t ms) {
  detail::clock().now_ms += ms;
}
void set_tick_ms(std::int64_t ms) {
  detail::clock().tick_ms = ms > 0 ? ms : 1;
}
long yields() {
  return detail::clock().yields;
}

namespace {

long seconds_now() {
  return detail::clock().epoch + static_cast<long>(detail::clock().now_ms / 1000);
}

// Days since 1970-01-01 of a civil date, and back.
long days_from_civil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void civil_from_days(long z, long &y, unsigned &m, unsigned &d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

unsigned char to_bcd(unsigned v) {
  return static_cast<unsigned char>(((v / 10) << 4) | (v % 10));
}
unsigned from_bcd(unsigned char b) {
  return (b >> 4) * 10u + (b & 0x0F);
}

}  // namespace
}  // namespace ecftest

extern "C" {

long BIOSRTC_tempo_sistema(long *destino) {
  const long s = ecftest::seconds_now();
  if (destino != nullptr) *destino = s;
  return s;
}

void BIOSRTC_ftime(struct BIOSRTC_timeb *agora) {
  if (agora == nullptr) return;
  agora->segundos = ecftest::seconds_now();
  agora->milissegundos = static_cast<unsigned short>(ecftest::detail::clock().now_ms % 1000);
}

int BIOSRTC_le(unsigned char momento[6]) {
  if (momento == nullptr) return 1;
  const long s = ecftest::seconds_now();
  long y;
  unsigned m, d;
  ecftest::civil_from_days(s / 86400, y, m, d);
  const long in_day = s % 86400;
  momento[0] = ecftest::to_bcd(d);
  momento[1] = ecftest::to_bcd(m);
  momento[2] = ecftest::to_bcd(static_cast<unsigned>(y % 100));
  momento[3] = ecftest::to_bcd(static_cast<unsigned>(in_day / 3600));
  momento[4] = ecftest::to_bcd(static_cast<unsigned>(in_day / 60 % 60));
  momento[5] = ecftest::to_bcd(static_cast<unsigned>(in_day % 60));
  return 0;
}

long BIOSRTC_calc_momento(const unsigned char momento[6]) {
  if (momento == nullptr) return 0;
  using ecftest::from_bcd;
  const long days = ecftest::days_from_civil(2000 + from_bcd(momento[2]), from_bcd(momento[1]),
                                             from_bcd(momento[0])) -
                    ecftest::days_from_civil(2000, 1, 1);
  return days * 86400 + from_bcd(momento[3]) * 3600L + from_bcd(momento[4]) * 60L +
         from_bcd(momento[5]);
}

}  // extern "C"
