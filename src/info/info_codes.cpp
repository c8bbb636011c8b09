// How each information code is answered: the generic reads of the table and
// the answers the driver puts together itself.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/core.h"
#include "ecfbmtc.h"
#include "info/bounded_text.h"
#include "info/header_text.h"
#include "info/info_cache.h"
#include "info/info_table.h"
#include "platform/platform.h"
#include "setup/persistent_state.h"

namespace ecf::info {
namespace {

using namespace ecf::core;
using resposta::dado;
using resposta::tamanho_dados;

constexpr int tam_total = 7;
constexpr std::uint8_t line_feed = 10;
constexpr std::size_t tam_primeira_linha = 48;
constexpr std::size_t tam_linhas_seguintes = 96;
constexpr int max_serie = 20;

// An 8-byte value of the host's arithmetic library.
struct Valor {
  unsigned char b[8] = {};
};

int le(const Leitura &l) {
  switch (l.origem) {
    case Origem::variavel:
      return ECFBMTC_le_parametro(static_cast<unsigned char>(l.numero));
    case Origem::comando:
      return exec_repetido(l.numero);
    default:
      return 0;
  }
}

void digitos(int pos, int tam, TextoLimitado &t) {
  for (int i = 0; i < tam; ++i) {
    const std::uint8_t b = dado(pos + i);
    t.poe(static_cast<char>('0' + (b >> 4)));
    t.poe(static_cast<char>('0' + (b & 0x0F)));
  }
}

Valor valor_de(std::string_view digitos_texto) {
  char texto[40] = {};
  std::snprintf(texto, sizeof texto, "%.*s", static_cast<int>(digitos_texto.size()),
                digitos_texto.data());
  Valor v;
  _ato8(v.b, texto);
  return v;
}

void escreve(const Valor &v, TextoLimitado &t) {
  char texto[48] = {};
  _8toa(texto, v.b);
  t.poe_bytes(texto, sizeof texto);
}

// Adds n 7-byte totals from data byte pos.
void soma_totais(Valor &soma, int pos, int n) {
  for (int i = 0; i < n; ++i) {
    TextoLimitado parcela;
    digitos(pos + tam_total * i, tam_total, parcela);
    const Valor v = valor_de(parcela.vista());
    _8soma(soma.b, soma.b, v.b);
  }
}

// Code 1 as a value; also writes it when `t` is given.
int valor_do_documento(Valor &v, TextoLimitado *t) {
  if (nv::estado_doc_atual() == doc::nao_fiscal) {
    std::memcpy(v.b, nv::valor_cnf_ptr(), sizeof v.b);
    if (t) escreve(v, *t);
    return 0;
  }
  if (const int r = exec_repetido(cmd::le_limite_fase); r != 0) return r;
  TextoLimitado d;
  digitos(0, tam_total, d);
  v = valor_de(d.vista());
  if (t) t->poe(d.vista());
  return 0;
}

Valor pago() {
  Valor v;
  std::memcpy(v.b, nv::total_pago_ptr(), sizeof v.b);
  return v;
}

int texto_do_cache(const char *(*campo)(const Cache &), std::size_t largura, TextoLimitado &t) {
  if (const int r = carrega_totalizadores(); r != 0) return r;
  t.poe(std::string_view(campo(*cache()), largura));
  return 0;
}

int campo_identidade(CampoIdentidade campo, TextoLimitado &t) {
  if (const int r = carrega_identidade(); r != 0) return r;
  t.poe_bytes(cache()->identidade + campo.pos, campo.largura);
  return 0;
}

}  // namespace

int responde_leitura(const Leitura &l, TextoLimitado &t) {
  if (l.origem == Origem::fixo) {
    t.poe(l.fixo);
    return 0;
  }
  if (const int r = le(l); r != 0) return r;
  switch (l.forma) {
    case Forma::texto:
      break;
    case Forma::digitos:
      digitos(l.pos, l.tam, t);
      break;
    case Forma::bytes:
      for (int i = 0; i < l.tam && dado(l.pos + i) != 0; ++i)
        t.poe(static_cast<char>(dado(l.pos + i)));
      break;
    case Forma::soma: {
      Valor soma;
      soma_totais(soma, l.pos, l.tam);
      soma_totais(soma, l.pos2, l.tam2);
      escreve(soma, t);
      break;
    }
  }
  return 0;
}

int valor_documento(const Leitura &, TextoLimitado &t) {
  Valor v;
  return valor_do_documento(v, &t);
}

int total_pago(const Leitura &, TextoLimitado &t) {
  escreve(pago(), t);
  return 0;
}

int falta_pagar(const Leitura &, TextoLimitado &t) {
  Valor v;
  if (const int r = valor_do_documento(v, nullptr); r != 0) return r;
  const Valor p = pago();
  if (_8compara(v.b, p.b) <= 0) {
    t.poe('0');
    return 0;
  }
  Valor falta;
  _8subtrai(falta.b, v.b, p.b);
  escreve(falta, t);
  return 0;
}

int grande_total(const Leitura &, TextoLimitado &t) {
  return texto_do_cache([](const Cache &c) -> const char * { return c.grande_total; },
                        tam_grande_total, t);
}

int venda_do_dia(const Leitura &l, TextoLimitado &t) {
  if (const int r = carrega_totalizadores(); r != 0) return r;
  const Valor gt = valor_de(std::string_view(cache()->grande_total, tam_grande_total));
  TextoLimitado na_reducao;
  if (const int r = responde_leitura(l, na_reducao); r != 0) return r;
  Valor dia;
  _8subtrai(dia.b, gt.b, valor_de(na_reducao.vista()).b);
  escreve(dia, t);
  return 0;
}

int numero_de_serie(const Leitura &l, TextoLimitado &t) {
  if (const int r = le(l); r != 0) return r;
  if (tamanho_dados() > max_serie) return 12;
  for (int i = 0; i < tamanho_dados() && dado(i) != 0; ++i)
    if (dado(i) != ' ') t.poe(static_cast<char>(dado(i)));
  return 0;
}

int fabricante(const Leitura &, TextoLimitado &t) {
  return campo_identidade(id_fabricante, t);
}

int modelo(const Leitura &, TextoLimitado &t) {
  return campo_identidade(id_modelo, t);
}

int tem_mfd(const Leitura &, TextoLimitado &t) {
  t.poe(codigos_info().geracao);
  return 0;
}

int sigla_fabricante(const Leitura &, TextoLimitado &t) {
  if (const int r = carrega_identidade(); r != 0) return r;
  const std::string_view nome(cache()->identidade + id_fabricante.pos, id_fabricante.largura);
  if (ecf::core::texto::comeca_com(nome, "BEMATECH"))
    t.poe("BE");
  else if (ecf::core::texto::comeca_com(nome, "IBM"))
    t.poe("IB");
  else if (ecf::core::texto::comeca_com(nome, "UNISYS"))
    t.poe("UN");
  else
    return 15;
  return 0;
}

int letra_modelo(const Leitura &, TextoLimitado &t) {
  t.poe(codigos_info().letra);
  return 0;
}

int primeira_linha(const Leitura &l, TextoLimitado &t) {
  if (const int r = le(l); r != 0) return r;
  std::uint8_t linha[tam_primeira_linha];
  resposta::copia_dados(linha, 0, static_cast<int>(sizeof linha));
  const int n = std::min(tamanho_dados(), static_cast<int>(sizeof linha));
  const std::span<const std::uint8_t> origem(linha, static_cast<std::size_t>(n));
  limpa_cabecalho(origem, tam_primeira_linha, false, t);
  return 0;
}

int linhas_seguintes(const Leitura &l, TextoLimitado &t) {
  if (const int r = le(l); r != 0) return r;
  int inicio = static_cast<int>(tam_primeira_linha);
  for (int i = 0; i < static_cast<int>(tam_primeira_linha) && i < tamanho_dados(); ++i) {
    if (dado(i) == line_feed) {
      inicio = i + 1;
      break;
    }
  }
  const int n = std::max(0, tamanho_dados() - inicio);
  const std::span<const std::uint8_t> origem(ECFIF_buffer_protocolo + 3 + inicio,
                                             static_cast<std::size_t>(n));
  limpa_cabecalho(origem, tam_linhas_seguintes, true, t);
  return 0;
}

// Variable 61 reads "uu,uu%": the share of the detail-tape memory in use.
int mfd_livre(const Leitura &l, TextoLimitado &t) {
  if (const int r = le(l); r != 0) return r;
  const char usado[5] = {static_cast<char>(dado(0)), static_cast<char>(dado(1)),
                         static_cast<char>(dado(3)), static_cast<char>(dado(4)), 0};
  Valor livre;
  _8subtrai(livre.b, valor_de("10000").b, valor_de(usado).b);
  escreve(livre, t);
  return 0;
}

int coo(const Leitura &l, TextoLimitado &t) {
  if (const int r = le(l); r != 0) return r;
  TextoLimitado d;
  digitos(l.pos, l.tam, d);
  // A simulated non-fiscal receipt takes its number only when it closes.
  if (nv::estado_doc_atual() == doc::nao_fiscal &&
      BMTCLOCAL_cnf_eh_simulado(nv::codigo_cnf_atual())) {
    char proximo[24];
    std::snprintf(proximo, sizeof proximo, "%ld", std::strtol(d.texto, nullptr, 10) + 1);
    t.poe(proximo);
    return 0;
  }
  t.poe(d.vista());
  return 0;
}

int codigo_fabricante(const Leitura &, TextoLimitado &t) {
  t.poe(codigos_info().fabricante);
  return 0;
}

int codigo_modelo(const Leitura &, TextoLimitado &t) {
  t.poe(codigos_info().modelo_nacional);
  return 0;
}

int codigo_versao(const Leitura &, TextoLimitado &t) {
  const Regra *versao = regra_de(40);
  TextoLimitado v;
  if (const int r = responde_leitura(eh_mfd() ? versao->mfd : versao->antiga, v); r != 0) return r;
  t.poe(versao_nacional_atual(v.vista()));
  return 0;
}

int total_nn(const Leitura &, TextoLimitado &t) {
  return texto_do_cache([](const Cache &c) -> const char * { return c.nn; }, tam_totalizador, t);
}

int total_ff(const Leitura &, TextoLimitado &t) {
  return texto_do_cache([](const Cache &c) -> const char * { return c.ff; }, tam_totalizador, t);
}

int total_ii(const Leitura &, TextoLimitado &t) {
  return texto_do_cache([](const Cache &c) -> const char * { return c.ii; }, tam_totalizador, t);
}

}  // namespace ecf::info
