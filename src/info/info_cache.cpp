#include "info/info_cache.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/core.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace ecf::info {
namespace {

using namespace ecf::core;
using resposta::dado;
using resposta::tamanho_dados;

constexpr int tentativas = 5;

// Positions in the data of command 27: the 16 rate totals, then exempt,
// non-taxed and tax substitution, then the large total.
constexpr int pos_ii = 112;
constexpr int pos_nn = 119;
constexpr int pos_ff = 126;
constexpr int pos_grande_total = 210;
constexpr int tam_total = 7;

Cache *g_cache = nullptr;

// "0" followed by the packed digits of n data bytes from `pos`.
void texto_total(char *destino, int pos, int n) {
  destino[0] = '0';
  for (int i = 0; i < n; ++i) {
    const std::uint8_t b = dado(pos + i);
    destino[1 + 2 * i] = static_cast<char>('0' + (b >> 4));
    destino[2 + 2 * i] = static_cast<char>('0' + (b & 0x0F));
  }
}
static_assert(1 + 2 * tam_total == tam_totalizador);
static_assert(1 + 2 * 9 == tam_grande_total);

void copia_zerado(char *identidade, CampoIdentidade campo, std::string_view texto) {
  std::memcpy(identidade + campo.pos, texto.data(), std::min(campo.largura, texto.size()));
}

}  // namespace

Cache *cache() {
  if (g_cache == nullptr) {
    void *p = nullptr;
    if (KALLOC_alocou(&p, sizeof(Cache)) == 0 || p == nullptr) return nullptr;
    g_cache = static_cast<Cache *>(p);
  }
  return g_cache;
}

void libera_cache() {
  if (g_cache != nullptr) KALLOC_libera(&g_cache);
  g_cache = nullptr;
}

namespace {
const Reinicio reinicio(libera_cache);
}  // namespace

int exec_repetido(int comando) {
  int r = 0;
  for (int i = 0; i < tentativas; ++i) {
    r = ECFBMTC_exec(comando);
    if (r == 0) break;
  }
  return r;
}

int carrega_totalizadores() {
  Cache *c = cache();
  if (c == nullptr) return 42;
  if (c->totalizadores_carregados) return 0;
  if (const int r = exec_repetido(cmd::le_totalizadores); r != 0) return r;
  for (int i = 0; i < qtd_aliquotas; ++i) texto_total(c->aliquotas[i], tam_total * i, tam_total);
  texto_total(c->ff, pos_ff, tam_total);
  texto_total(c->ii, pos_ii, tam_total);
  texto_total(c->nn, pos_nn, tam_total);
  texto_total(c->grande_total, pos_grande_total, 9);
  c->totalizadores_carregados = 1;
  return 0;
}

int carrega_identidade() {
  Cache *c = cache();
  if (c == nullptr) return 42;
  if (c->identidade_carregada & 1) return 0;
  if (eh_mfd()) {
    if (const int r = ECFBMTC_le_parametro(var::identificacao_mfd); r != 0) return r;
    if (tamanho_dados() != static_cast<int>(tam_identidade)) return 12;
    resposta::copia_dados(reinterpret_cast<std::uint8_t *>(c->identidade), 0, tam_identidade);
  } else {
    std::memset(c->identidade, 0, tam_identidade);
    copia_zerado(c->identidade, id_fabricante, "BEMATECH");
    copia_zerado(c->identidade, id_modelo, codigos_info().nome_identidade);
    copia_zerado(c->identidade, id_tipo, "ECF-IF");
  }
  c->identidade_carregada |= 1;
  return 0;
}

int le_tributo(int indice, std::uint8_t destino[tam_registro_tributo]) {
  if (indice < 0 || indice >= qtd_aliquotas) return ECFIF_le_tributacao(indice, destino);
  Cache *c = cache();
  if (c == nullptr) return 42;
  TributoLido &t = c->tributos[indice];
  if (!t.lido) {
    if (const int r = ECFIF_le_tributacao(indice, t.registro); r != 0) return r;
    t.lido = 1;
  }
  std::memcpy(destino, t.registro, tam_registro_tributo);
  return 0;
}

}  // namespace ecf::info
