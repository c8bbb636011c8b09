// Name fields of the payment-method and non-fiscal totalizer tables.
#pragma once

#include <cstddef>

namespace ecf::setup::nome_fpag {

inline constexpr std::size_t tam_nome = 16;
inline constexpr std::size_t tam_campo = tam_nome + 1;

// 16 characters for the printer or the host: a leading blank becomes ".",
// the rest is cut or filled with blanks; then a zero byte.
inline void formata(char *destino, const char *origem) {
  std::size_t n = 0;
  if (origem[0] == ' ') {
    destino[n++] = '.';
    ++origem;
  }
  for (; n < tam_nome && *origem != 0; ++n, ++origem) destino[n] = *origem;
  for (; n < tam_nome; ++n) destino[n] = ' ';
  destino[tam_nome] = 0;
}

// Up to 16 characters from a printer table, stopping at a zero byte, filled
// with blanks; then a zero byte.
inline void copia_da_tabela(char *destino, const unsigned char *origem) {
  std::size_t n = 0;
  for (; n < tam_nome && origem[n] != 0; ++n) destino[n] = static_cast<char>(origem[n]);
  for (; n < tam_nome; ++n) destino[n] = ' ';
  destino[tam_nome] = 0;
}

}  // namespace ecf::setup::nome_fpag
