#include "harness.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>

#include "ecfbmtc.h"
#include "platform/platform.h"
#include "platform/test_platform.h"

namespace ecffuzz {

std::uint8_t Entrada::byte() {
  if (resto_.empty()) return 0;
  const auto b = static_cast<std::uint8_t>(resto_.front());
  resto_.remove_prefix(1);
  return b;
}

std::string_view Entrada::pedaco(std::size_t max) {
  const std::size_t n = std::min({static_cast<std::size_t>(byte()), max, resto_.size()});
  const std::string_view p = resto_.substr(0, n);
  resto_.remove_prefix(n);
  return p;
}

Entrada::Texto Entrada::texto(std::size_t max) {
  if (!resto_.empty() && static_cast<std::uint8_t>(resto_.front()) == 0xFF) {
    byte();
    return Texto(std::nullopt);
  }
  const std::string_view p = pedaco(max);
  return Texto(std::string(p.substr(0, std::min(p.find('\0'), p.size()))));
}

std::string_view Entrada::resto() {
  const std::string_view r = resto_;
  resto_ = {};
  return r;
}

void pasta_de_trabalho() {
  static bool feito = false;
  if (feito) return;
  feito = true;
  static char pasta[] = "/tmp/ecf_fuzz_XXXXXX";
  if (mkdtemp(pasta) == nullptr || chdir(pasta) != 0) std::abort();
  std::atexit([] {
    std::error_code erro;
    std::filesystem::remove_all(pasta, erro);
  });
}

void driver_novo(bool estendido) {
  pasta_de_trabalho();
  ecftest::reset();
  ecftest::set_tick_ms(50);  // time-outs in a few hundred passes
  ECFBMTCAUX_modo_protocolo = estendido ? 1 : 0;
  ECFLOG_modo = 0xFF;
}

namespace {

int sem_caractere(int) {
  return 0;
}
int sem_progresso(const char *) {
  return 0;
}

using Operacao = int (*)(Entrada &);

// A number and a text, the text read first.
template <int (*F)(int, const char *)>
int numero_e_texto(Entrada &e) {
  const auto t = e.texto();
  return F(e.inteiro(), t);
}

// Arguments are evaluated in an unspecified order, so each operation takes
// its texts into locals first.
constexpr Operacao operacoes[] = {
    numero_e_texto<ECFIF_identifica_consumidor>,
    [](Entrada &) { return ECFIF_inicio_venda(); },
    numero_e_texto<ECFIF_descritivo>,
    [](Entrada &e) {
      const auto c = e.texto(), d = e.texto(), a = e.texto(), q = e.texto(), p = e.texto(),
                 x = e.texto();
      const int qual = e.byte() & 3;
      if (qual == 0) return ECFBMTC_registra_item(c, d, a, q, p);
      if (qual == 1) return ECFBMTC_registra_item_desc(c, d, a, q, p, x);
      if (qual == 2) return ECFBMTC_registra_item_3casas(c, d, a, q, p, x);
      return ECFBMTC_registra_item_und(c, d, a, q, p, x);
    },
    [](Entrada &e) {
      const auto v = e.texto();
      const int i = e.inteiro();
      using Valor = int (*)(const char *);
      constexpr Valor subtotal[] = {ECFIF_desconto_subtot, ECFBMTC_desc_subtot_perc,
                                    ECFIF_acresc_subtot, ECFBMTC_acres_subtot_perc};
      const int qual = e.byte() & 7;
      if (qual < 4) return subtotal[qual](v);
      if (qual == 4) return ECFIF_desc_item_pos(i, v);
      if (qual == 5) return ECFIF_acresc_item_pos(i, v);
      const auto item = static_cast<unsigned>(i);
      return qual == 6 ? ECFIF_canc_it_posic(item) : ECFBMTC_cancela_desconto(item);
    },
    [](Entrada &e) { return ECFIF_imprime_total(e.texto()); },
    [](Entrada &e) {
      const auto v = e.texto(), t1 = e.texto(), t2 = e.texto();
      return ECFBMTC_pagamento(e.inteiro(), v, t1, t2);
    },
    numero_e_texto<ECFIF_publicit>,
    [](Entrada &) { return ECFIF_fim_venda(); },
    [](Entrada &e) { return (e.byte() & 1) ? ECFIF_canc_cupom() : ECFIF_canc_anterior(); },
    [](Entrada &e) {
      const auto a = e.texto(), b = e.texto(), c = e.texto();
      return ECFBMTC_cancela_cupom(a, b, c);
    },
    [](Entrada &e) { return ECFIF_id_aplicacao(e.texto()); },
    [](Entrada &e) {
      const auto t = e.texto();
      return (e.byte() & 1) ? ECFIF_imprime_expandido(t) : ECFIF_imprime_linha(t);
    },
    [](Entrada &e) { return ECFIF_espaceja(e.inteiro()); },
    [](Entrada &e) {
      const unsigned codigo = e.byte();
      const auto v = e.texto();
      const int r = ECFIF_inicia_cnf(codigo);
      return r != 0 ? r : ECFBMTC_registra_em_cnf(static_cast<int>(codigo), v);
    },
    [](Entrada &) { return ECFIF_fim_cnf(); },
    [](Entrada &) { return ECFIF_cnf_vinculado(); },
    [](Entrada &) { return ECFIF_fim_cnf_vinc(); },
    [](Entrada &) { return ECFIF_copia_de_cnf_vinculado(); },
    [](Entrada &e) {
      unsigned char d[39];
      return ECFBMTC_le_vinculavel(e.inteiro(), d);
    },
    [](Entrada &) { return ECFIF_abre_relatorio(); },
    [](Entrada &) { return ECFIF_fim_relat(); },
    [](Entrada &e) { return ECFIF_autenticacao(e.texto()); },
    [](Entrada &e) {
      const auto f = e.texto(), c = e.texto(), d = e.texto(), b = e.texto(), v = e.texto(),
                 t1 = e.texto(), t2 = e.texto(), t3 = e.texto();
      return ECFCHQ_imprime_cheque(f, c, d, b, v, t1, t2, t3);
    },
    [](Entrada &e) {
      char cmc7[64];
      return ECFIF_le_cmc7(cmc7, e.byte() % sizeof cmc7);
    },
    numero_e_texto<ECFIF_imprime_codbarras>,
    [](Entrada &) { return ECFIF_pega_configuracao(); },
    [](Entrada &e) {
      char texto[ECFIF_TAM_TEXTO_INFO];
      return ECFIF_le_info_modo(texto, e.inteiro(), e.byte() & 1);
    },
    [](Entrada &) {
      unsigned char registro[120 * 8];
      return ECFIF_le_rz(registro);
    },
    [](Entrada &e) {
      unsigned char registro[100];
      const int qual = e.byte() & 3;
      if (qual == 0) return ECFIF_le_tributacao(e.inteiro(), registro);
      if (qual == 1)
        return ECFIF_le_forma_de_pagamento(e.inteiro(), reinterpret_cast<char *>(registro));
      return qual == 2 ? ECFIF_le_cnf(e.inteiro(), registro) : ECFIF_le_configuracao(registro);
    },
    [](Entrada &e) {
      return (e.byte() & 1) ? ECFIF_le_sensores() : ECFIF_le_selec_sensores(e.inteiro());
    },
    [](Entrada &) {
      unsigned char data[8];
      return ECFIF_le_relogio() + ECFIF_le_datalida(data);
    },
    [](Entrada &) {
      unsigned char estado = 0;
      return ECFBMTC_le_estado_do_ecf(&estado) + ECFBMTC_le_status() + ECFIF_le_fabricacao();
    },
    [](Entrada &e) {
      const auto t = e.texto();
      const int modo = e.inteiro();
      return (e.byte() & 1) ? ECFIF_mf_em_disco_por_reducao(sem_caractere, sem_progresso, t, modo)
                            : ECFIF_mf_em_disco_por_data(sem_caractere, sem_progresso, t, modo);
    },
    [](Entrada &e) {
      const auto t = e.texto();
      return (e.byte() & 1) ? ECFIF_mf_le_por_reducoes(t) : ECFIF_mf_le_simpl_por_data(t);
    },
    [](Entrada &e) {
      ECFIF_contexto_atocotepe contexto{};
      const auto tipo = e.texto();
      const int numero = e.inteiro();
      int r = ECFIF_atocotepe_inicia(&contexto, numero);
      if (r == 0) r = ECFIF_atocotepe_gera(&contexto, tipo, "ATO.TXT", numero);
      return r + ECFIF_atocotepe_termina(&contexto);
    },
    [](Entrada &) { return ECFIF_leitura_x(); },
    [](Entrada &) { return ECFIF_abre(); },
    [](Entrada &e) {
      ECFBMTCAUX_o_que_repetir = e.inteiro();
      return ECFIF_repete();
    },
};

}  // namespace

int opera(Entrada &e) {
  const int r = operacoes[e.byte() % std::size(operacoes)](e);
  // Records handed to the host never outgrow their buffer.
  if (ECFIF_tam_retorno < 0 || ECFIF_tam_retorno > 300) std::abort();
  return r;
}

void grava(const char *nome, std::optional<std::string_view> conteudo) {
  std::remove(nome);
  if (!conteudo) return;
  std::FILE *f = std::fopen(nome, "wb");
  if (f == nullptr) std::abort();
  if (!conteudo->empty() && std::fwrite(conteudo->data(), conteudo->size(), 1, f) != 1)
    std::abort();
  std::fclose(f);
}

}  // namespace ecffuzz
