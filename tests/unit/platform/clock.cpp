// The virtual clock: it moves only when the driver yields or a test says so.
#include <ctime>

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

namespace {

long seconds_now() {
  return detail::clock().epoch + static_cast<long>(detail::clock().now_ms / 1000);
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
  const std::time_t s = ecftest::seconds_now();
  std::tm t{};
  gmtime_r(&s, &t);
  const int campos[6] = {t.tm_mday, t.tm_mon + 1, t.tm_year % 100, t.tm_hour, t.tm_min, t.tm_sec};
  for (int i = 0; i < 6; ++i) momento[i] = ecftest::to_bcd(static_cast<unsigned>(campos[i]));
  return 0;
}

// Seconds since 2000-01-01 00:00:00.
long BIOSRTC_calc_momento(const unsigned char momento[6]) {
  if (momento == nullptr) return 0;
  using ecftest::from_bcd;
  std::tm t{};
  t.tm_mday = static_cast<int>(from_bcd(momento[0]));
  t.tm_mon = static_cast<int>(from_bcd(momento[1])) - 1;
  t.tm_year = 100 + static_cast<int>(from_bcd(momento[2]));
  t.tm_hour = static_cast<int>(from_bcd(momento[3]));
  t.tm_min = static_cast<int>(from_bcd(momento[4]));
  t.tm_sec = static_cast<int>(from_bcd(momento[5]));
  return static_cast<long>(timegm(&t) - 946684800);
}

}  // extern "C"
