// Building blocks of every operation: the bounded argument builder, sending
// it, the log lines and the tolerated failure.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "ecfbmtc/transport.h"

namespace ecf::core {

inline constexpr int log_protocolo = 1;  // bit 0 of ECFLOG_modo
inline constexpr int log_interface = 2;  // bit 1

// One log line, written when `bit` of ECFLOG_modo is set; cut at 1023 bytes.
void registra(int bit, const char *formato, ...) __attribute__((format(printf, 2, 3)));

// A failure whose effect is already in place: logs "<nome>()=<resultado>,
// tratado como OK." (bit 0) and returns 0.
int tratado_como_ok(const char *nome, int resultado);

namespace texto {
// A text for the log: "(null)" when absent.
inline const char *txt(const char *s) {
  return s ? s : "(null)";
}
inline const char *txt_vazio(const char *s) {
  return (s && *s) ? s : "(null)";
}

inline std::string_view limitado(const char *s, std::size_t max) {
  return s ? std::string_view(s, strnlen(s, max)) : std::string_view("", 0);
}

// substr and starts_with without their throwing path: the driver is built
// without exceptions, and a start past the end gives an empty text.
constexpr std::string_view parte(std::string_view s, std::size_t inicio,
                                 std::size_t n = std::string_view::npos) {
  if (inicio > s.size()) inicio = s.size();
  return std::string_view(s.data() + inicio, std::min(n, s.size() - inicio));
}
constexpr bool comeca_com(std::string_view s, std::string_view prefixo) {
  return s.size() >= prefixo.size() &&
         std::char_traits<char>::compare(s.data(), prefixo.data(), prefixo.size()) == 0;
}

}  // namespace texto

// Argument bytes of one command, bounded by N.
template <std::size_t N>
class Argumentos {
 public:
  void byte(unsigned char b) {
    if (n_ < N) b_[n_++] = b;
  }
  void repete(char c, std::size_t vezes) {
    for (std::size_t i = 0; i < vezes; ++i) byte(static_cast<unsigned char>(c));
  }
  void texto(std::string_view s) {
    for (char c : s) byte(static_cast<unsigned char>(c));
  }
  // Right-justified, left-filled; a longer value keeps its last `largura` characters.
  void direita(const char *v, std::size_t largura, char enchimento) {
    std::string_view s = v ? std::string_view(v) : std::string_view();
    if (s.size() > largura) s.remove_prefix(s.size() - largura);
    repete(enchimento, largura - s.size());
    texto(s);
  }
  void z(const char *v, std::size_t largura) { direita(v, largura, '0'); }
  void r(const char *v, std::size_t largura) { direita(v, largura, ' '); }
  // Left-justified, blank-filled, cut after `largura` characters.
  void l(std::string_view s, std::size_t largura) {
    if (s.size() > largura) s.remove_suffix(s.size() - largura);
    texto(s);
    repete(' ', largura - s.size());
  }
  void l(const char *v, std::size_t largura) { l(texto::limitado(v, largura), largura); }
  const unsigned char *dados() const { return b_.data(); }
  int tamanho() const { return static_cast<int>(n_); }
  std::string_view vista() const { return {reinterpret_cast<const char *>(b_.data()), n_}; }

 private:
  std::array<unsigned char, N> b_{};
  std::size_t n_ = 0;
};

template <std::size_t N>
int envia(int comando, const Argumentos<N> &a) {
  return ECFBMTC_exec_argum(comando, a.tamanho() ? a.dados() : nullptr, a.tamanho());
}

// As envia, but the bytes skip the host's character filter: printer sequences
// and binary values are not text (a margin of 400 has a low byte of 90h).
int envia_literal(int comando, const unsigned char *argumentos, int tamanho);
template <std::size_t N>
int envia_literal(int comando, const Argumentos<N> &a) {
  return envia_literal(comando, a.tamanho() ? a.dados() : nullptr, a.tamanho());
}

// Runs on scope exit; keeps the repeat code and the flags right on every path.
template <typename F>
class AoSair {
 public:
  explicit AoSair(F f) : f_(f) {}
  ~AoSair() { f_(); }
  AoSair(const AoSair &) = delete;
  AoSair &operator=(const AoSair &) = delete;

 private:
  F f_;
};

}  // namespace ecf::core
