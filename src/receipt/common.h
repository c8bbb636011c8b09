// Helpers shared by the receipt operations: log lines, record fields and the
// fixed-width argument fields of the printer commands.
#ifndef ECF_RECEIPT_COMMON_H
#define ECF_RECEIPT_COMMON_H

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "ecfbmtc/config.h"
#include "ecfbmtc/receipt.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "receipt/deps.h"
#include "setup/persistent_state.h"

namespace receipt {

inline constexpr int log_protocolo = 1;  // bit 0 of ECFLOG_modo
inline constexpr int log_interface = 2;  // bit 1

void registra(int bit, const char *formato, ...) __attribute__((format(printf, 2, 3)));

// A text for the log: "(null)" when absent.
inline const char *txt(const char *s) {
  return s ? s : "(null)";
}
// "(null)" when absent or empty.
inline const char *txt_vazio(const char *s) {
  return (s && *s) ? s : "(null)";
}

inline std::string_view limitado(const char *s, std::size_t max) {
  return s ? std::string_view(s, strnlen(s, max)) : std::string_view("", 0);
}

inline bool eh_mfd() {
  return (BMTCLOCAL_flg_vers & 1) != 0;
}
inline bool documento_fechado(unsigned char estado) {
  return estado == 1 || estado == 2 || estado == 51 || estado == 52;
}

// Record fields.
inline unsigned char estado_doc() {
  return ecf::nv::estado_doc_atual();
}
inline void muda_estado_doc(unsigned char v) {
  ecf::nv::muda_estado_doc(v);
}
inline constexpr std::size_t tam_slot = 50;
inline constexpr int slots_descritivo = 4;
inline constexpr int slots_publicidade = 8;
inline constexpr std::size_t tam_pagto = 39;
inline constexpr int max_pagtos = 30;
inline unsigned char *descritivo() {
  return ecf::nv::campo(ecf::nv::linhas_descritivo);
}
inline unsigned char *publicidade() {
  return ecf::nv::campo(ecf::nv::linhas_publicidade);
}
void esquece_consumidor();
void esvazia_pagtos_vinculaveis();
bool valor8_zero(const unsigned char *valor);
// The receipt close with the stored promotional lines.
int fecha_com_publicidade();

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
  void l(const char *v, std::size_t largura) { l(limitado(v, largura), largura); }
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

}  // namespace receipt

#endif
