// Clock library over the system clock.
#include "platform/clock.h"

#include <climits>
#include <cstdint>
#include <ctime>

namespace {

timespec agora_real() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return ts;
}

unsigned char para_bcd(int v) {
  v = v < 0 ? 0 : v % 100;
  return static_cast<unsigned char>(((v / 10) << 4) | (v % 10));
}

int de_bcd(unsigned char b) {
  return (b >> 4) * 10 + (b & 0x0F);
}

int limita(int v, int menor, int maior) {
  return v < menor ? menor : (v > maior ? maior : v);
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t dias_desde_1970(std::int64_t ano, int mes, int dia) {
  ano -= mes <= 2 ? 1 : 0;
  const std::int64_t era = (ano >= 0 ? ano : ano - 399) / 400;
  const std::int64_t ano_da_era = ano - era * 400;
  const std::int64_t dia_do_ano = (153 * (mes + (mes > 2 ? -3 : 9)) + 2) / 5 + dia - 1;
  const std::int64_t dia_da_era = ano_da_era * 365 + ano_da_era / 4 - ano_da_era / 100 + dia_do_ano;
  return era * 146097 + dia_da_era - 719468;
}

// Records carry two-digit years; they count from 2000 so that 32-bit hosts
// hold every date up to 2068 in a long.
constexpr std::int64_t origem = 10957;  // days from 1970-01-01 to 2000-01-01

}  // namespace

extern "C" long BIOSRTC_tempo_sistema(long *destino) {
  const long segundos = static_cast<long>(agora_real().tv_sec);
  if (destino != nullptr) *destino = segundos;
  return segundos;
}

extern "C" void BIOSRTC_ftime(struct BIOSRTC_timeb *agora) {
  if (agora == nullptr) return;
  const timespec ts = agora_real();
  agora->segundos = static_cast<long>(ts.tv_sec);
  agora->milissegundos = static_cast<unsigned short>(ts.tv_nsec / 1000000);
}

extern "C" int BIOSRTC_le(unsigned char momento[6]) {
  if (momento == nullptr) return -1;
  const time_t t = agora_real().tv_sec;
  tm local{};
  if (localtime_r(&t, &local) == nullptr) return -1;
  momento[0] = para_bcd(local.tm_mday);
  momento[1] = para_bcd(local.tm_mon + 1);
  momento[2] = para_bcd(local.tm_year % 100);
  momento[3] = para_bcd(local.tm_hour);
  momento[4] = para_bcd(local.tm_min);
  momento[5] = para_bcd(local.tm_sec);
  return 0;
}

extern "C" long BIOSRTC_calc_momento(const unsigned char momento[6]) {
  if (momento == nullptr) return 0;
  // Printer records are not trusted: every field is clamped to its range.
  const int dia = limita(de_bcd(momento[0]), 1, 31);
  const int mes = limita(de_bcd(momento[1]), 1, 12);
  const int ano = limita(de_bcd(momento[2]), 0, 99);
  const int hora = limita(de_bcd(momento[3]), 0, 23);
  const int minuto = limita(de_bcd(momento[4]), 0, 59);
  const int segundo = limita(de_bcd(momento[5]), 0, 59);
  const std::int64_t dias = dias_desde_1970(2000 + ano, mes, dia) - origem;
  const std::int64_t total = dias * 86400 + hora * 3600 + minuto * 60 + segundo;
  return total > LONG_MAX ? LONG_MAX : static_cast<long>(total);
}
