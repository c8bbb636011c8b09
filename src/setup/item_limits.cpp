// Multiplication mode and item limits, each forced by a host option or asked.
#include "core/answer.h"
#include "core/catalog.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace {

constexpr int max_itens = 999;
constexpr int max_itens_anteriores = 300;

// Values last logged: a line is written only when the value changes.
int ultimo_modo_logado = -99;
int ultimo_maximo_logado = -99;

int modo_da_impressora() {
  if (ECFBMTC_le_parametro(var::multiplicacao) != 0) return -1;
  switch (ecf::core::resposta::dado(0)) {
    case 0:
      return 0;
    case 255:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

extern "C" int ECFIF_modo_multiplicacao(void) {
  const int forcado = ECFBMTCAUX_forca_multiplicacao;
  const int modo = (forcado >= 1 && forcado <= 3) ? forcado - 1 : modo_da_impressora();
  if ((ECFLOG_modo & 1) && modo != ultimo_modo_logado) {
    ECFLOG_print("Multipl=%d(forc=%d)", modo, forcado);
    ultimo_modo_logado = modo;
  }
  return modo;
}

extern "C" int ECFIF_maximo_de_itens(void) {
  if (ECFBMTCAUX_forca_maximo_de_itens < 1 || ECFBMTCAUX_forca_maximo_de_itens > max_itens)
    ECFBMTCAUX_forca_maximo_de_itens = max_itens;
  const int maximo = ECFBMTCAUX_forca_maximo_de_itens;
  if ((ECFLOG_modo & 1) && maximo != ultimo_maximo_logado) {
    ECFLOG_print("maximo_de_itens()=%d.", maximo);
    ultimo_maximo_logado = maximo;
  }
  return maximo;
}

extern "C" int ECFIF_max_itens_anteriores(void) {
  if (ECFLOG_modo & 2) ECFLOG_print("max_itens_anteriores()=%d.", max_itens_anteriores);
  return max_itens_anteriores;
}
