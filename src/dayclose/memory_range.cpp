// Range texts of the fiscal-memory readings and the command 8 argument.
#include <cstring>

#include "core/core.h"
#include "dayclose/memory_reading.h"

namespace ecf::dayclose {

using namespace ecf::core;

namespace {

bool digitos(const char *t, unsigned n) {
  for (unsigned i = 0; i < n; ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

int dois(const char *t) {
  return (t[0] - '0') * 10 + (t[1] - '0');
}

}  // namespace

bool data_valida(const char *t) {
  if (t == nullptr || strnlen(t, 6) < 6 || !digitos(t, 6)) return false;
  static constexpr int dias[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int d = dois(t), m = dois(t + 2), a = dois(t + 4);
  if (m < 1 || m > 12 || d < 1 || d > dias[m - 1]) return false;
  return !(m == 2 && d == 29 && a % 4 != 0);
}

bool faixa_valida(const char *texto, Faixa faixa) {
  const unsigned n = tamanho_faixa(faixa);
  if (texto == nullptr || strnlen(texto, n) < n) return false;
  if (faixa == Faixa::reducoes) return digitos(texto, n);
  return data_valida(texto) && data_valida(texto + 6);
}

int envia_leitura(Faixa faixa, const char *texto, char letra) {
  Argumentos<13> a;
  if (faixa == Faixa::datas) {
    a.texto({texto, 12});
  } else {
    a.texto("00");
    a.texto({texto, 4});
    a.texto("00");
    a.texto({texto + 4, 4});
  }
  a.byte(static_cast<unsigned char>(letra));
  return envia(cmd::leitura_mf, a);
}

}  // namespace ecf::dayclose
