// ecfctl's readers on arbitrary text: sale scripts (words, quotes, amounts)
// and the state file. Input: byte 0 picks the reader and the decimals; the
// rest is the text or the file.
#include <array>
#include <cstdlib>

#include "harness.h"
#include "script.h"
#include "state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
  ecffuzz::Entrada e(dados, tamanho);
  const std::uint8_t qual = e.byte();
  const std::string_view texto = e.resto();
  switch (qual % 3) {
    case 0: {
      ecfctl::ParseError erro;
      if (const auto passos = ecfctl::parse_script(texto, erro)) {
        ecfctl::check_sale_order(*passos);
        for (const auto &p : *passos) ecfctl::describe(p);
      }
      break;
    }
    case 1: {
      const int decimais = (qual >> 2) % 4, max = (qual >> 4) % 16;
      const auto d = ecfctl::to_digits(texto, decimais, max);
      if (d && (d->empty() || d->find_first_not_of("0123456789") != std::string::npos))
        std::abort();
      break;
    }
    default: {
      ecffuzz::pasta_de_trabalho();
      ecffuzz::grava("estado", texto);
      std::array<std::uint8_t, 2559> registro{};
      ecfctl::SavedState estado{registro, 0};
      ecfctl::StateFile("estado").load(estado);
      break;
    }
  }
  return 0;
}
