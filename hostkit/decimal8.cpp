// 8-byte decimal values: a signed 64-bit integer of the digits as written,
// implied decimals included. Arithmetic saturates instead of wrapping.
#include "platform/decimal8.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

using valor8 = std::int64_t;
constexpr valor8 maximo = std::numeric_limits<valor8>::max();
constexpr valor8 minimo = std::numeric_limits<valor8>::min();

valor8 le(const void *p) {
  valor8 v = 0;
  if (p != nullptr) std::memcpy(&v, p, sizeof v);
  return v;
}

void grava(void *p, valor8 v) {
  if (p != nullptr) std::memcpy(p, &v, sizeof v);
}

valor8 soma(valor8 a, valor8 b) {
  valor8 r = 0;
  if (__builtin_add_overflow(a, b, &r)) return b > 0 ? maximo : minimo;
  return r;
}

valor8 subtrai(valor8 a, valor8 b) {
  valor8 r = 0;
  if (__builtin_sub_overflow(a, b, &r)) return b < 0 ? maximo : minimo;
  return r;
}

valor8 multiplica(valor8 a, valor8 b) {
  valor8 r = 0;
  if (__builtin_mul_overflow(a, b, &r)) return (a < 0) != (b < 0) ? minimo : maximo;
  return r;
}

}  // namespace

extern "C" void _ato8(void *valor, const char *texto) {
  valor8 v = 0;
  if (texto != nullptr) {
    while (*texto == ' ' || *texto == '\t') ++texto;
    const bool negativo = *texto == '-';
    if (*texto == '-' || *texto == '+') ++texto;
    // Accumulate negatively so the most negative value parses exactly.
    for (; *texto >= '0' && *texto <= '9'; ++texto) {
      const int digito = *texto - '0';
      if (v < (minimo + digito) / 10) {
        v = minimo;
        while (texto[1] >= '0' && texto[1] <= '9') ++texto;
        continue;
      }
      v = v * 10 - digito;
    }
    if (!negativo) v = v == minimo ? maximo : -v;
  }
  grava(valor, v);
}

extern "C" char *_8toa(char *texto, const void *valor) {
  if (texto == nullptr) return nullptr;
  const valor8 v = le(valor);
  // Digits of the magnitude, least significant first, kept negative to
  // cover the most negative value.
  char digitos[20];
  int n = 0;
  valor8 resto = v < 0 ? v : -v;
  do {
    digitos[n++] = static_cast<char>('0' - resto % 10);
    resto /= 10;
  } while (resto != 0 && n < static_cast<int>(sizeof digitos));
  char *p = texto;
  if (v < 0) *p++ = '-';
  while (n > 0) *p++ = digitos[--n];
  *p = '\0';
  return texto;
}

extern "C" void _8soma(void *resultado, const void *a, const void *b) {
  grava(resultado, soma(le(a), le(b)));
}

extern "C" void _8subtrai(void *resultado, const void *a, const void *b) {
  grava(resultado, subtrai(le(a), le(b)));
}

extern "C" int _8compara(const void *a, const void *b) {
  const valor8 x = le(a);
  const valor8 y = le(b);
  return x > y ? 1 : (x < y ? -1 : 0);
}

extern "C" void _8byte_som_byte(void *resultado, const void *a, int n) {
  grava(resultado, soma(le(a), n));
}

extern "C" void _8byte_mul_byte(void *resultado, const void *a, int n) {
  grava(resultado, multiplica(le(a), n));
}
