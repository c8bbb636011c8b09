// Bar codes in the open free-text document: the look, then the code, each
// as the printer's own sequences sent through command 67, unfiltered: the
// setting values are binary and the code's data must print as given.
#include <array>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "core/core.h"
#include "ecfbmtc/cheques.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/setup.h"

namespace ecf::documentos {
using namespace ecf::core;
namespace {

inline constexpr int tipo_invalido = 69;
inline constexpr unsigned char gs = 0x1D;

struct TipoCodigo {
  std::size_t tamanho;
  bool tamanho_fixo;
  bool so_digitos;
  unsigned char selecao;  // after GS 'k'
};

// Types 1 to 6.
constexpr std::array<TipoCodigo, 6> tipos{{
    {7, true, true, 'D'},     // EAN-8 without its check digit
    {12, true, true, 'C'},    // EAN-13 without its check digit
    {15, false, false, 'E'},  //
    {42, false, false, 'I'},  //
    {20, false, false, 'G'},  //
    {30, false, true, 'F'},   //
}};

bool dados_validos(const TipoCodigo &t, std::string_view d) {
  if (d.size() > t.tamanho || (t.tamanho_fixo && d.size() < t.tamanho)) return false;
  if (t.so_digitos)
    for (char c : d)
      if (c < '0' || c > '9') return false;
  return true;
}

int no_intervalo(int v, int minimo, int maximo, int reserva) {
  return v >= minimo && v <= maximo ? v : reserva;
}

using Sequencia = Argumentos<4 + 42>;

Sequencia sequencia(std::initializer_list<int> bytes) {
  Sequencia a;
  for (int b : bytes) a.byte(static_cast<unsigned char>(b));
  return a;
}

// Bar width, margin (low byte first), height, text font, text position; a
// setting out of its range is sent as its fallback.
int envia_aparencia() {
  const int margem = no_intervalo(ECFBMTCAUX_margem_codbar, 2, 574, 2);
  const std::array<Sequencia, 5> ajustes{
      sequencia({gs, 'w', no_intervalo(ECFBMTCAUX_barra_codbar, 2, 4, 2)}),
      sequencia({gs, 'k', 0x84, margem & 0xFF, margem >> 8}),
      sequencia({gs, 'h', no_intervalo(ECFBMTCAUX_altura_codbar, 2, 254, 60)}),
      sequencia({gs, 'f', no_intervalo(ECFBMTCAUX_fonte_codbar, 0, 1, 0)}),
      sequencia({gs, 'H', no_intervalo(ECFBMTCAUX_pos_txt_codbar, 0, 3, 2)}),
  };
  for (const auto &a : ajustes)
    if (const int r = envia_literal(cmd::texto_vinculado, a); r != 0) return r;
  return 0;
}

}  // namespace
}  // namespace ecf::documentos

extern "C" {

int ECFIF_permite_imprimir_codbarras(void) {
  using namespace ecf::documentos;
  if (ECFIF_pega_configuracao() != 0) return nao_disponivel;
  return imprime_codigo_barras() ? 0 : nao_disponivel;
}

int ECFIF_imprime_codbarras(int tipo, const char *dados) {
  using namespace ecf::documentos;
  registra(log_interface, "imprime_codbarras()");
  if (const int r = ECFIF_permite_imprimir_codbarras(); r != 0) return r;
  if (!dados || !*dados) return 2;
  if (tipo == 0) tipo = ECFBMTCAUX_tipo_codbar;
  if (tipo < 1 || tipo > static_cast<int>(tipos.size())) return tipo_invalido;
  const TipoCodigo &t = tipos[static_cast<std::size_t>(tipo - 1)];
  const std::string_view d = texto::limitado(dados, t.tamanho + 1);
  if (!dados_validos(t, d)) return 2;
  if (const int r = envia_aparencia(); r != 0) return r;
  Sequencia a = sequencia({gs, 'k', t.selecao, static_cast<int>(d.size())});
  a.texto(d);
  return envia_literal(cmd::texto_vinculado, a);
}

}  // extern "C"
