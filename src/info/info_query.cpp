// ECFIF_le_info and ECFIF_le_info_modo: the dispatch of an information code
// to its answer, and the totalizers of the ICMS and ISS rates.
#include <cstring>

#include "core/core.h"
#include "ecfbmtc.h"
#include "info/bounded_text.h"
#include "info/info_cache.h"
#include "info/info_table.h"
#include "platform/platform.h"

namespace ecf::info {
namespace {

using namespace ecf::core;

constexpr int nao_suportado = nao_disponivel;
constexpr int indice_fora_da_tabela = 19;
constexpr std::uint8_t tipo_icms = 0;
constexpr std::uint8_t tipo_iss = 20;
// The tax table ends at entry 19 or 22; past this nothing can be found.
constexpr int max_indice = 32;

struct Faixa {
  int primeiro, ultimo;
  std::uint8_t tipo;
};
constexpr Faixa faixa_icms{200, 229, tipo_icms};
constexpr Faixa faixa_iss{250, 279, tipo_iss};

// The totalizer of the (n + 1)-th rate of a tax type, in table order.
int totalizador_da_aliquota(std::uint8_t tipo, int n, TextoLimitado &t) {
  int achados = 0;
  for (int i = 0; i < max_indice; ++i) {
    std::uint8_t registro[tam_registro_tributo] = {};
    const int r = le_tributo(i, registro);
    if (r == indice_fora_da_tabela) return nao_suportado;
    if (r != 0) return r;
    if (registro[0] != tipo || achados++ != n) continue;
    if (i >= qtd_aliquotas) return nao_suportado;
    if (const int c = carrega_totalizadores(); c != 0) return c;
    t.poe(std::string_view(cache()->aliquotas[i], tam_totalizador));
    return 0;
  }
  return nao_suportado;
}

int responde(int codigo, TextoLimitado &t) {
  for (const Faixa &f : {faixa_icms, faixa_iss}) {
    if (codigo < f.primeiro || codigo > f.ultimo) continue;
    if (const int r = ECFIF_pega_configuracao(); r != 0) return r;
    return totalizador_da_aliquota(f.tipo, codigo - f.primeiro, t);
  }
  const Regra *regra = regra_de(codigo);
  if (regra == nullptr) return nao_suportado;
  if (regra->pede_modelo) {
    if (const int r = ECFIF_pega_configuracao(); r != 0) return r;
  }
  const Leitura &fonte = eh_mfd() ? regra->mfd : regra->antiga;
  if (fonte.origem == Origem::nenhuma) return nao_suportado;
  return regra->resposta(fonte, t);
}

int le_info(char *texto, int codigo) {
  if (texto != nullptr) texto[0] = '\0';
  if (codigo == 0) return 0;
  if (texto == nullptr) return 2;
  TextoLimitado t;
  const int r = responde(codigo, t);
  if (r == 0) std::memcpy(texto, t.texto, t.n + 1);
  return r;
}

}  // namespace
}  // namespace ecf::info

extern "C" {

int ECFIF_le_info(char *texto, int codigo) {
  using namespace ecf::info;
  libera_cache();
  const int r = le_info(texto, codigo);
  if (r == 0)
    registra(log_interface, "le_info(%d):%s.", codigo, ecf::core::texto::txt(texto));
  else if (r != nao_suportado)
    registra(log_interface, "le_info(%d)=%d.", codigo, r);
  return r;
}

int ECFIF_le_info_modo(char *texto, int codigo, int modo) {
  using namespace ecf::info;
  if (modo != 0) libera_cache();
  const int r = le_info(texto, codigo);
  if (r == 0)
    registra(log_interface, "le_info_modo(%d,%d):%s.", codigo, modo, ecf::core::texto::txt(texto));
  else if (r != nao_suportado)
    registra(log_interface, "le_info_modo(%d,%d)=%d.", codigo, modo, r);
  return r;
}

}  // extern "C"
