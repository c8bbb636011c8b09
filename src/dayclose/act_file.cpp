// Act file records (E06, E07, E08, E10, E11, E17, E18) from the printer's
// variables, each generation replacing the output file.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/core.h"
#include "dayclose/act_buffer.h"
#include "ecfbmtc/dayclose.h"
#include "platform/platform.h"

using namespace ecf::core;
using ecf::dayclose::BufferAto;

namespace {

constexpr int log_ato = 16;  // bit 4 of ECFLOG_modo

// Reads a variable; 12 when it gave more than `maximo` data bytes.
int le(unsigned char variavel, int maximo = 1 << 16) {
  const int r = ECFBMTC_le_parametro(variavel);
  if (r != 0) return r;
  return resposta::tamanho_dados() > maximo ? 12 : 0;
}

// Packed data bytes as digits.
int le_digitos(unsigned char variavel, char *destino, int bytes) {
  const int r = le(variavel);
  if (r != 0) return r;
  for (int i = 0; i < bytes; ++i) {
    const uint8_t b = resposta::dado(i);
    destino[2 * i] = static_cast<char>('0' + (b >> 4));
    destino[2 * i + 1] = static_cast<char>('0' + (b & 15));
  }
  return 0;
}

int le_bytes(unsigned char variavel, char *destino, int bytes, int deslocamento = 0) {
  const int r = le(variavel);
  if (r == 0) resposta::copia_dados(reinterpret_cast<uint8_t *>(destino), deslocamento, bytes);
  return r;
}

// At most 20 data bytes: leading blanks skipped, ending at the next blank.
int le_palavra(unsigned char variavel, char (&destino)[20]) {
  const int r = le(variavel, 20);
  if (r != 0) return r;
  int k = 0;
  while (k < 20 && resposta::dado(k) == ' ') ++k;
  for (int i = 0; k < 20 && i < 20; ++k, ++i) {
    const uint8_t c = resposta::dado(k);
    if (c == ' ' || c == 0) break;
    destino[i] = static_cast<char>(c);
  }
  return 0;
}

int carrega_identificacao(BufferAto &b) {
  if (b.flags & 1) return 0;
  std::memset(b.serie, 0, sizeof b.serie);
  int r = le_palavra(var::serie_mfd, b.serie);
  if (r == 0) r = le_digitos(var::crz, b.crz, 2);
  if (r == 0) r = le_digitos(var::cro, b.cro, 2);
  if (r == 0) r = le_digitos(var::coo, b.coo, 3);
  if (r == 0) r = le_digitos(var::gnf, b.contador_7, 3);
  if (r != 0) return r;
  if (!eh_mfd()) return nao_disponivel;
  r = le_digitos(var::ccf, b.contador_55, 3);
  if (r == 0) r = le_digitos(var::contador_31, b.contador_31, 3);
  if (r == 0) r = le_digitos(var::grg, b.contador_54, 3);
  if (r == 0) r = le_digitos(var::contador_56, b.contador_56, 3);
  if (r == 0) r = le_digitos(var::total_3, b.total_3, 9);
  if (r == 0) r = le_bytes(var::cgc_mfd, b.cnpj, 20);
  if (r == 0) {
    std::memset(b.texto_58, 0, sizeof b.texto_58);
    r = le_palavra(var::texto_58, b.texto_58);
  }
  if (r == 0) r = le_digitos(var::versao_mfd, b.versao, 3);
  if (r == 0) r = le_bytes(var::codigo_16, b.codigo_16, 2);
  if (r == 0) r = le_digitos(var::alteracoes_cgc, b.numero_11, 2);
  if (r == 0) b.flags |= 1;
  return r;
}

int carrega_identidade(BufferAto &b) {
  if (b.flags & 2) return 0;
  const int r = ECFBMTC_le_parametro(var::identificacao_mfd);
  if (r != 0) return r;
  if (resposta::tamanho_dados() != 42) return 12;
  resposta::copia_dados(reinterpret_cast<uint8_t *>(b.fabricante), 0, 42);
  b.flags |= 2;
  return 0;
}

// One record line, laid out field by field; the longest record is 136
// characters, and nothing is written past the buffer.
class Linha {
 public:
  // A(n): cut at n characters or the first zero byte, blank-filled.
  Linha &a(std::string_view t, std::size_t n) {
    t = texto::parte(t, 0, std::min(n, static_cast<std::size_t>(strnlen(t.data(), t.size()))));
    return texto(t).repete(' ', n - t.size());
  }
  Linha &a(const char *t, std::size_t n) { return a(std::string_view(t, strnlen(t, n)), n); }
  // N(n): right-aligned, zero-filled; a longer text keeps its last n.
  Linha &n(std::string_view t, std::size_t n) {
    if (t.size() > n) t.remove_prefix(t.size() - n);
    return repete('0', n - t.size()).texto(t);
  }
  Linha &brancos(std::size_t n) { return repete(' ', n); }
  Linha &texto(std::string_view t) {
    for (char c : t) poe(c);
    return *this;
  }
  Linha &repete(char c, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) poe(c);
    return *this;
  }
  std::string_view vista() const { return {b_.data(), n_}; }
  const char *c_str() {
    b_[n_] = '\0';
    return b_.data();
  }

 private:
  void poe(char c) {
    if (n_ + 2 < b_.size()) b_[n_++] = c;
  }
  std::array<char, 160> b_{};
  std::size_t n_ = 0;
};

// The first 14 characters of the CNPJ text that are not separators.
std::array<char, 14> cnpj_digitos(const BufferAto &b) {
  std::array<char, 14> d;
  d.fill(' ');
  std::size_t k = 0;
  for (std::size_t i = 0; i < sizeof b.cnpj && k < d.size(); ++i) {
    const char c = b.cnpj[i];
    if (c == 0) break;
    if (c != ' ' && c != '.' && c != '/' && c != '-') d[k++] = c;
  }
  return d;
}

std::string_view vista(const std::array<char, 14> &a) {
  return {a.data(), a.size()};
}

Linha cabeca(const BufferAto &b, const char *tipo) {
  Linha l;
  l.a(tipo, 3).a(b.serie, 20).brancos(1).a(b.modelo, 20);
  return l;
}

// Appends one line; false when the file cannot take it.
bool grava(const char *arquivo, Linha &l) {
  registra(log_ato, "AtoCotepe[%s].", l.c_str());
  const arquivos::Arquivo f = arquivos::abre_acrescimo(arquivo);
  const std::string_view v = l.vista();
  return f && arquivos::escreve(f, v.data(), v.size()) && arquivos::escreve(f, "\n", 1) &&
         std::fflush(f.get()) == 0;
}

template <std::size_t N, std::size_t M>
int grava_tabela(BufferAto &b, const char *tipo, const char *arquivo, const char (&nomes)[N][M],
                 const uint8_t (&valores)[N][7]) {
  int crz = 0;
  for (char c : std::string_view(b.crz, 4)) crz = crz * 10 + (c - '0');
  int proxima = (crz + 1) % 10000;
  if (proxima == 0) proxima = 1;
  char reducao[8];
  std::snprintf(reducao, sizeof reducao, "%d", proxima);
  for (std::size_t i = 0; i < N; ++i) {
    char valor[15];
    for (int k = 0; k < 7; ++k) {
      valor[2 * k] = static_cast<char>('0' + (valores[i][k] >> 4));
      valor[2 * k + 1] = static_cast<char>('0' + (valores[i][k] & 15));
    }
    Linha l = cabeca(b, tipo);
    l.a(std::string_view(b.numero_11 + 2, 2), 2)
        .n(reducao, 6)
        .a(std::string_view(nomes[i], M), 15)
        .n(std::string_view(valor + 1, 13), 13);
    if (!grava(arquivo, l)) return nao_disponivel;
  }
  return 0;
}

int gera(BufferAto &b, const char *tipo, const char *arquivo) {
  const std::string_view t(tipo);
  const bool tabela = t == "E17" || t == "E18";
  if (t != "E06" && t != "E07" && t != "E08" && t != "E10" && t != "E11" && !tabela)
    return nao_disponivel;
  if (tabela && !eh_mfd()) return nao_disponivel;
  if (int r = carrega_identificacao(b); r != 0) return r;
  if (int r = carrega_identidade(b); r != 0) return r;
  const auto cnpj = cnpj_digitos(b);
  Linha l = cabeca(b, tipo);
  if (t == "E06") {
    l.texto(vista(cnpj)).brancos(8).brancos(6).a(std::string_view(b.codigo_16, 2), 2).brancos(2);
  } else if (t == "E07") {
    const std::string_view v(b.versao, 6);
    l.a(texto::parte(v, 0, 2), 2)
        .texto(".")
        .a(texto::parte(v, 2, 2), 2)
        .texto(".")
        .a(texto::parte(v, 4, 2), 2);
    l.brancos(2).brancos(8);
  } else if (t == "E08") {
    l.texto(vista(cnpj)).a(b.texto_58, 20);
  } else if (t == "E10") {
    l.a(std::string_view(b.contador_56, 6), 6).brancos(8).n("0", 6).n("0", 6);
    l.texto(vista(cnpj));
  } else if (t == "E11") {
    l.texto("00").a(std::string_view(b.crz, 4), 4).texto("00").a(std::string_view(b.cro, 4), 4);
    l.a(std::string_view(b.coo, 6), 6).a(std::string_view(b.contador_7, 6), 6);
    l.a(std::string_view(b.contador_55, 6), 6).n("0", 6).a(std::string_view(b.contador_31, 6), 6);
    l.a(std::string_view(b.contador_54, 6), 6).n("0", 6).a(std::string_view(b.contador_56, 6), 6);
    l.a(std::string_view(b.total_3, 18), 18);
    if (int r = le_digitos(var::relogio, b.relogio, 6); r != 0) return r;
    const std::string_view c(b.relogio, 12);
    l.texto("20")
        .texto(texto::parte(c, 4, 2))
        .texto(texto::parte(c, 2, 2))
        .texto(texto::parte(c, 0, 2));
    l.texto(texto::parte(c, 6, 6));
  } else if (t == "E17") {
    if (int r = le_bytes(var::cnf_mfd, &b.nomes_cnf[0][0], 780); r != 0) return r;
    return grava_tabela(b, tipo, arquivo, b.nomes_cnf, b.valores_cnf);
  } else {
    if (int r = le_bytes(var::fpag_mfd, &b.nomes_fpag[0][0], 460); r != 0) return r;
    return grava_tabela(b, tipo, arquivo, b.nomes_fpag, b.valores_fpag);
  }
  return grava(arquivo, l) ? 0 : nao_disponivel;
}

bool obtem_buffer(ECFIF_contexto_atocotepe &c) {
  c.tamanho = static_cast<int>(ecf::dayclose::tamanho_buffer_ato);
  if (c.buffer != nullptr) return true;
  return KALLOC_alocou(&c.buffer, ecf::dayclose::tamanho_buffer_ato) != 0 && c.buffer != nullptr;
}

}  // namespace

extern "C" {

int ECFIF_atocotepe_inicia(ECFIF_contexto_atocotepe *contexto, int numero) {
  registra(log_ato, "AtoCOTEPE inicia(%d).", numero);
  if (contexto == nullptr) return 2;
  contexto->buffer = nullptr;
  if (!obtem_buffer(*contexto)) return 42;
  std::memset(contexto->buffer, 0, ecf::dayclose::tamanho_buffer_ato);
  return 0;
}

int ECFIF_atocotepe_gera(ECFIF_contexto_atocotepe *contexto, const char *tipo, const char *arquivo,
                         int numero) {
  registra(log_ato, "AtoCOTEPE gera(%s,%s,%d).", texto::txt(tipo), texto::txt(arquivo), numero);
  if (contexto == nullptr || tipo == nullptr || arquivo == nullptr) return 2;
  if (contexto->buffer == nullptr) {
    if (!obtem_buffer(*contexto)) return 42;
    std::memset(contexto->buffer, 0, ecf::dayclose::tamanho_buffer_ato);
  }
  arquivos::remove(arquivo);
  BufferAto &b = *static_cast<BufferAto *>(contexto->buffer);
  return gera(b, tipo, arquivo) == 0 ? 0 : nao_disponivel;
}

int ECFIF_atocotepe_termina(ECFIF_contexto_atocotepe *contexto) {
  registra(log_ato, "AtoCOTEPE termina.");
  if (contexto != nullptr && contexto->buffer != nullptr) KALLOC_libera(&contexto->buffer);
  if (contexto != nullptr) contexto->buffer = nullptr;
  return 0;
}

}  // extern "C"
