#include "receipt/item_description.h"

#include <cctype>
#include <cstring>

#include "receipt/common.h"

namespace ecf::receipt {

Descricao::Descricao(const char *descricao, int primeira_linha, int colunas)
    : w_(primeira_linha > 0 ? static_cast<std::size_t>(primeira_linha) : 0),
      colunas_(colunas > 0 ? static_cast<std::size_t>(colunas) : 1) {
  if (descricao && *descricao) {
    std::string_view s(descricao);
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    junta(s);
    completa();
  }
  const unsigned char *slot = descritivo();
  for (int i = 0; i < slots_descritivo; ++i, slot += tam_slot) {
    if (slot[0] != 1) continue;
    junta(limitado(reinterpret_cast<const char *>(slot + 1), tam_slot - 2));
    completa();
  }
}

namespace {

// Latin-1 control characters (C0, DEL, C1) print nothing legible and some
// act on the printer's paper or layout; they are sent as blanks, one for one,
// so the layout in characters holds.
char imprimivel(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b < 0x20 || (b >= 0x7F && b < 0xA0)) ? ' ' : c;
}

}  // namespace

void Descricao::junta(std::string_view s) {
  std::size_t k = std::min(s.size(), t_.size() - n_);
  for (std::size_t i = 0; i < k; ++i) t_[n_ + i] = imprimivel(s[i]);
  n_ += k;
}

void Descricao::completa() {
  std::size_t alvo = n_ <= w_ ? w_ : n_ + (colunas_ - (n_ - w_) % colunas_) % colunas_;
  alvo = std::min(alvo, t_.size());
  while (n_ < alvo) t_[n_++] = ' ';
}

namespace {

bool unidade_valida(std::string_view u) {
  if (u.empty()) return false;
  for (char c : u)
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

std::array<char, 2> unidade_do_item(const char *unidade) {
  std::string_view u = limitado(unidade, 1024);
  if (!unidade_valida(u)) {
    // The host may have written anything into the default.
    if (!unidade_valida(limitado(ECFBMTC_unidade_do_item, sizeof ECFBMTC_unidade_do_item))) {
      std::memcpy(ECFBMTC_unidade_do_item, "UN", 3);
    }
    u = limitado(ECFBMTC_unidade_do_item, sizeof ECFBMTC_unidade_do_item);
  }
  std::array<char, 2> r{' ', ' '};
  for (std::size_t i = 0; i < r.size() && i < u.size(); ++i) r[i] = u[i];
  return r;
}

}  // namespace ecf::receipt
