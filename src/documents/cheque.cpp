// Cheque printing: the currency names (58, 59), the cheque (57) with the
// bank's layout, the waits for the print and the removal, the release.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "core/core.h"
#include "documents/bank_layout.h"
#include "documents/document_slot.h"
#include "ecfbmtc/cheques.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"

namespace ecf::documentos {
using namespace ecf::core;
namespace {

inline constexpr int nao_imprime_cheque = 61;

inline constexpr std::size_t tam_cheque = 235;
inline constexpr std::size_t tam_valor = 14;
inline constexpr std::size_t tam_favorecido = 45;
inline constexpr std::size_t tam_cidade = 27;
inline constexpr std::size_t texto_apos_layout = 120;
inline constexpr int passos_impressao = 40;

using ArgumentoCheque = Argumentos<tam_cheque>;

// The host's currency name without its first character.
std::string_view nome_moeda(const char (&nome)[22]) {
  const std::size_t n = strnlen(nome, sizeof nome);
  return n ? std::string_view(nome + 1, n - 1) : std::string_view();
}

int envia_moedas() {
  Argumentos<19> s;
  s.l(nome_moeda(EXTENSO_txt_moeda_sing), 19);
  if (const int r = envia(cmd::moeda_singular, s); r != 0) return r;
  Argumentos<22> p;
  p.l(nome_moeda(EXTENSO_txt_moeda_plur), 22);
  return envia(cmd::moeda_plural, p);
}

// Appends as much of `texto` as fits; true when any of it went in.
bool acrescenta(ArgumentoCheque &a, const char *texto) {
  if (!texto || !*texto || static_cast<std::size_t>(a.tamanho()) >= tam_cheque) return false;
  a.texto(texto::limitado(texto, tam_cheque - static_cast<std::size_t>(a.tamanho())));
  return true;
}

// Waits for the print to end: at most 40 one-second passes.
void espera_impressao() {
  const bool pelo_bit_limpo = fim_cheque_pelo_bit_limpo();
  for (int i = 0; i < passos_impressao; ++i) {
    ECFBMTCAUX_retardo(1);
    unsigned char estado = 0;
    if (le_sensor(estado) != 0) return;
    const bool liberado = (estado & bit_liberado) != 0;
    if (!pelo_bit_limpo && liberado) return;
    if (pelo_bit_limpo && !liberado) {
      ECFBMTCAUX_retardo(13);
      return;
    }
  }
  if (pelo_bit_limpo) ECFBMTCAUX_retardo(5);
}

// The argument of command 57: amount, payee, city, date, the bank's layout
// and the texts, blank-filled. Returns which texts went in.
std::array<unsigned char, 3> argumento_cheque(ArgumentoCheque &a, const char *favorecido,
                                              const char *cidade, const char *data,
                                              const char *banco, const char *valor,
                                              const char *texto1, const char *texto2) {
  a.z(valor, tam_valor);
  a.l(favorecido, tam_favorecido);
  const std::string_view c = texto::limitado(cidade, tam_cidade);
  a.repete(' ', tam_cidade - c.size());
  a.texto(c);
  const std::string_view d = texto::limitado(data, 8);
  // Checked above: at least six characters.
  a.texto({d.data(), 4});
  if (d.size() == 8) {
    a.texto({d.data() + 4, 4});
  } else {
    a.texto("20");
    a.texto({d.data() + 4, 2});
  }
  a.texto(layout_do_banco(grupo_layout_cheque(), banco).vista());
  const std::size_t fim_layout = static_cast<std::size_t>(a.tamanho());
  std::array<unsigned char, 3> impressos{};
  impressos[0] = acrescenta(a, texto1);
  impressos[1] = acrescenta(a, texto2);
  const std::size_t alvo = std::min(fim_layout + texto_apos_layout, tam_cheque);
  const std::size_t n = static_cast<std::size_t>(a.tamanho());
  if (n < alvo) a.repete(' ', alvo - n);
  return impressos;
}

int imprime(const char *favorecido, const char *cidade, const char *data, const char *banco,
            const char *valor, const char *texto1, const char *texto2) {
  if (const int r = envia_moedas(); r != 0) return r;
  ArgumentoCheque a;
  const auto impressos =
      argumento_cheque(a, favorecido, cidade, data, banco, valor, texto1, texto2);
  if (const int r = espera_documento(); r != 0) return r;
  const int r = envia(cmd::cheque, a);
  registra(log_protocolo, "imprime_cheque()=%d.", r);
  if (r != 0) {
    avisa_falha();
    libera_documento();
    return r;
  }
  espera_impressao();
  espera_remocao(bit_liberado);
  libera_documento();
  // The record goes in after the release, whose answer would overwrite it.
  std::memcpy(ECFIF_retornado, impressos.data(), impressos.size());
  ECFIF_retornado[impressos.size()] = 0;
  ECFIF_tam_retorno = static_cast<int>(impressos.size());
  return 0;
}

}  // namespace
}  // namespace ecf::documentos

extern "C" {

int ECFCHQ_imprime_cheque(const char *favorecido, const char *cidade, const char *data,
                          const char *banco, const char *valor, const char *texto1,
                          const char *texto2, const char *) {
  using namespace ecf::documentos;
  if (ECFIF_pega_configuracao() != 0 || !tem_cheque()) return nao_imprime_cheque;
  // An amount that does not fit would lose its leading digits; a short date
  // has no year.
  if (!valor || !data || strnlen(valor, tam_valor + 1) > tam_valor || strnlen(data, 6) < 6)
    return 2;
  return imprime(favorecido, cidade, data, banco, valor, texto1, texto2);
}

int ECFCHQ_cancela_cheque(void) {
  return ecf::documentos::libera_documento();
}

int ECFCHQ_usa_verso_cheque(const char *, const char *) {
  ecf::core::registra(ecf::core::log_interface, "usa_verso_cheque()");
  return ecf::documentos::nao_imprime_cheque;
}

int ECFCHQ_imprime_verso_cheque(const char *, const char *, const char *) {
  ecf::core::registra(ecf::core::log_interface, "imprime_verso_cheque()");
  return ecf::documentos::nao_imprime_cheque;
}

}  // extern "C"
