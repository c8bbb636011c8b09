#include "info/header_text.h"

#include "info/bounded_text.h"

namespace ecf::info {
namespace {

constexpr std::uint8_t esc = 27;
constexpr std::uint8_t shift_out = 14;
constexpr std::uint8_t line_feed = 10;

// What follows ESC in a header is a printing mode, not text.
bool modo_apos_esc(std::uint8_t c) {
  return c == 'E' || c == 'F' || c == 'M' || c == shift_out;
}

}  // namespace

void limpa_cabecalho(std::span<const std::uint8_t> origem, std::size_t limite, bool linha_em_branco,
                     TextoLimitado &destino) {
  std::size_t i = 0;
  while (i < origem.size() && origem[i] == ' ') ++i;
  const std::size_t inicio = destino.n;
  bool apos_esc = false;
  for (; i < origem.size() && destino.n - inicio < limite; ++i) {
    const std::uint8_t c = origem[i];
    if (c == 0) break;
    if (c == line_feed) {
      if (linha_em_branco) destino.poe(' ');
      break;
    }
    const bool era_esc = apos_esc;
    apos_esc = c == esc;
    if (c == esc || (era_esc && modo_apos_esc(c))) continue;
    destino.poe(static_cast<char>(c));
  }
}

}  // namespace ecf::info
