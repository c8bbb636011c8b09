// The shop's header lines as the information queries answer them: printer
// control sequences left out, leading blanks skipped, one line at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ecf::info {

struct TextoLimitado;

// Cleans `origem` into `destino`, at most `limite` characters. A zero byte
// ends the text; so does a line feed, which `linha_em_branco` writes as a
// blank.
void limpa_cabecalho(std::span<const std::uint8_t> origem, std::size_t limite, bool linha_em_branco,
                     TextoLimitado &destino);

}  // namespace ecf::info
