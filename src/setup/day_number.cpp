#include "setup/day_number.h"

namespace ecf::setup {
namespace {

bool bcd_valido(unsigned char b) {
  return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}
int numero(unsigned char b) {
  return (b >> 4) * 10 + (b & 0x0F);
}
bool bissexto(int ano) {
  return ano % 400 == 0 || (ano % 4 == 0 && ano % 100 != 0);
}

}  // namespace

long numero_do_dia(unsigned char dia, unsigned char mes, unsigned char ano) {
  if (!bcd_valido(dia) || !bcd_valido(mes) || !bcd_valido(ano)) return 0;
  if (dia == 0 || dia > 0x31 || mes == 0 || mes > 0x12) return 0;
  static constexpr int dias_mes[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int a = 2000 + numero(ano);
  const int m = numero(mes);
  long n = 0;
  for (int y = 1970; y < a; ++y) n += bissexto(y) ? 366 : 365;
  for (int i = 1; i < m; ++i) n += (i == 2 && bissexto(a)) ? 29 : dias_mes[i - 1];
  return n + numero(dia) - 1;
}

}  // namespace ecf::setup
