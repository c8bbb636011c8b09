// The persistent record as a host may hand it back after a restart: any
// bytes (a torn write, another version, a bad memory), then operations on
// the emulated printer. Input: byte 0 the model and protocol; byte 1 the
// length n of the operations; n bytes of operations (see ecffuzz::opera);
// the rest is the record, repeated to its size.
#include <algorithm>

#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
  if (tamanho < 2) return 0;
  const std::size_t n = std::min<std::size_t>(dados[1], tamanho - 2);
  ecffuzz::driver_novo((dados[0] & 0x80) != 0);
  // The record's bytes repeat to its end, so every field gets some.
  const std::uint8_t *registro = dados + 2 + n;
  const std::size_t m = tamanho - 2 - n;
  for (std::size_t i = 0; m > 0 && i < sizeof BMTCLOCAL_d; ++i) BMTCLOCAL_d[i] = registro[i % m];
  ecftest::EmulatedPrinter impressora(1 + dados[0] % 14);
  ecffuzz::Entrada e(dados + 2, n);
  ECFIF_fim_venda();  // prints what the record holds
  for (int i = 0; i < 8 && !e.vazia(); ++i) ecffuzz::opera(e);
  return 0;
}
