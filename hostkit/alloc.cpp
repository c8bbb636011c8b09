// Allocation library: zero-filled blocks from calloc, released with free.
#include "platform/alloc.h"

#include <cstdlib>
#include <cstring>

extern "C" int KALLOC_alocou(void *endereco_do_ponteiro, unsigned tamanho) {
  if (endereco_do_ponteiro == nullptr) return 0;
  // calloc(0) may legally return null; a zero-sized request still succeeds.
  void *bloco = std::calloc(tamanho == 0 ? 1 : tamanho, 1);
  // The caller passes the address of any object pointer; copy bytes so the
  // store does not depend on its pointee type.
  std::memcpy(endereco_do_ponteiro, &bloco, sizeof bloco);
  return bloco != nullptr ? 1 : 0;
}

extern "C" int KALLOC_libera(void *endereco_do_ponteiro) {
  if (endereco_do_ponteiro == nullptr) return -1;
  void *bloco = nullptr;
  std::memcpy(&bloco, endereco_do_ponteiro, sizeof bloco);
  std::free(bloco);
  bloco = nullptr;
  std::memcpy(endereco_do_ponteiro, &bloco, sizeof bloco);
  return 0;
}
