// The answer of one information query, built in a buffer of its own and
// never longer than the longest answer the host's buffer is sized for.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "ecfbmtc/info.h"

namespace ecf::info {

struct TextoLimitado {
  static constexpr std::size_t capacidade = ECFIF_TAM_TEXTO_INFO - 1;

  char texto[capacidade + 1] = {};
  std::size_t n = 0;

  void poe(char c) {
    if (n < capacidade) texto[n++] = c;
    texto[n] = '\0';
  }
  void poe(std::string_view s) {
    for (char c : s) poe(c);
  }
  // Raw bytes of a fixed field; a zero byte ends the text as it would in C.
  void poe_bytes(const char *p, std::size_t largura) {
    poe(std::string_view(p, strnlen(p, largura)));
  }
  std::string_view vista() const { return {texto, n}; }
};

}  // namespace ecf::info
