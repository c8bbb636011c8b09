// Host texts and numbers through the whole host interface on the emulated
// printer: consumer, descriptions, codes, amounts, quantities, payment and
// cheque texts, bar codes, free lines. Input: the model and protocol, then
// operations with their arguments (see ecffuzz::opera).
#include "emulated_printer.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
  ecffuzz::Entrada e(dados, tamanho);
  const std::uint8_t modo = e.byte();
  ecffuzz::driver_novo((modo & 0x80) != 0);
  ecftest::EmulatedPrinter impressora(1 + modo % 14);
  for (int i = 0; i < 24 && !e.vazia(); ++i) ecffuzz::opera(e);
  return 0;
}
