// The payment-method file on arbitrary bytes: the reader must end, stay
// within its buffers and leave every field either empty or 16 characters
// and a zero, with no line end in it; the whole programming from the file
// runs on the emulated printer. Input: byte 0 picks the key count and the
// model; the rest is the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "harness.h"
#include "setup/payment_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dados, size_t tamanho) {
  namespace arq = ecf::setup::arquivo_fpag;
  if (tamanho == 0) return 0;
  const std::string_view arquivo(reinterpret_cast<const char *>(dados + 1), tamanho - 1);
  ecffuzz::driver_novo(false);
  ecffuzz::grava("BMTCFPAG.CFG", arquivo);
  if (std::FILE *f = std::fopen("BMTCFPAG.CFG", "r")) {
    arq::Campo campos[arq::max_chaves];
    const int chaves = (dados[0] & 1) ? 20 : 50;
    const int r = arq::le_secao(f, chaves, campos, [](int c) { return c; });
    std::fclose(f);
    if (r != 0 && r != 3 && r != 4) std::abort();
    for (int k = 0; k < chaves; ++k) {
      if (campos[k][0] == 0) continue;
      if (campos[k][arq::tam_campo - 1] != 0 || std::memchr(campos[k], '\n', 16) != nullptr)
        std::abort();
    }
  }
  ecftest::EmulatedPrinter impressora(1 + (dados[0] >> 1) % 14);
  ECFBMTC_le_arquivo_CFG(nullptr);
  return 0;
}
