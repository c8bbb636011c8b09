// Printer answers well framed but of any content: the emulated printer
// answers each command, and the input rewrites the status bytes, execution
// status and data (or their length) before they leave. Reaches every reader
// of answer data: variables, counters and BCD, the document state, totals,
// the fiscal-memory stream, the act file records.
//
// Input: byte 0 the model and protocol; byte 1 the length n of the
// operations; n bytes of operations (see ecffuzz::opera); the rest, for each
// command in turn: a byte of changes (0 none; bit 0 the status bytes from the
// next three bytes; bit 1 a piece written over the data at the next byte's
// offset; bit 2 the data cut or grown to the next byte x 8 bytes).
#include <algorithm>

#include "emulated_printer.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
  if (tamanho < 2) return 0;
  const std::size_t n = std::min<std::size_t>(dados[1], tamanho - 2);
  ecffuzz::Entrada operacoes(dados + 2, n);
  ecffuzz::Entrada respostas(dados + 2 + n, tamanho - 2 - n);
  ecffuzz::driver_novo((dados[0] & 0x80) != 0);
  ecftest::EmulatedPrinter impressora(1 + dados[0] % 14);
  impressora.hook = [&](int comando, std::string_view args) -> std::optional<ecfsim::Reply> {
    const std::uint8_t muda = respostas.byte();
    if (muda == 0) return std::nullopt;
    ecfsim::Reply r = impressora.printer.execute(static_cast<std::uint16_t>(comando), args);
    if (muda & 1) {
      r.st1 = respostas.byte();
      r.st2 = respostas.byte();
      r.exec_status = respostas.byte();
    }
    if (muda & 2) {
      const std::size_t em = respostas.byte() * std::size_t{8} % (r.data.size() + 1);
      const std::string_view p = respostas.pedaco();
      r.data.replace(em, std::min(p.size(), r.data.size() - em), p);
    }
    if (muda & 4) r.data.resize(respostas.byte() * std::size_t{8}, '\0');
    return r;
  };
  for (int i = 0; i < 8 && !operacoes.vazia(); ++i) ecffuzz::opera(operacoes);
  impressora.hook = nullptr;
  return 0;
}
