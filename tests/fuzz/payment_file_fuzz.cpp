// The payment-method file reader on arbitrary bytes: it must end, stay within
// its buffers and leave every field either empty or 16 characters and a zero.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "setup/payment_file.h"

namespace {

int identidade(int c) {
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dados, size_t tamanho) {
  namespace arq = ecf::setup::arquivo_fpag;
  if (tamanho == 0) return 0;
  std::FILE *f = fmemopen(const_cast<uint8_t *>(dados), tamanho, "r");
  if (f == nullptr) return 0;
  arq::Campo campos[arq::max_chaves];
  const int chaves = (dados[0] & 1) ? 20 : 50;
  const int r = arq::le_secao(f, chaves, campos, identidade);
  std::fclose(f);
  if (r != 0 && r != 3 && r != 4) std::abort();
  for (int k = 0; k < chaves; ++k)
    if (campos[k][0] != 0 && campos[k][arq::tam_campo - 1] != 0) std::abort();
  return 0;
}
