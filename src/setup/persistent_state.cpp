// The persistent record and the descriptor the host finds it by.
#include "setup/persistent_state.h"

#include <cstddef>

extern "C" {

unsigned char BMTCLOCAL_d[2559];

struct ECFIF_descritor_nvmem ECFIF_nvmem = {BMTCLOCAL_d, 2559, 2, 0};

void *ECFIF_aponta_nvmem(void) {
  return &ECFIF_nvmem;
}

}  // extern "C"

// The host reads the descriptor as raw bytes: address, then size, type, flags.
static_assert(offsetof(ECFIF_descritor_nvmem, endereco) == 0);
static_assert(offsetof(ECFIF_descritor_nvmem, tamanho) == sizeof(void *));
static_assert(offsetof(ECFIF_descritor_nvmem, tipo) == sizeof(void *) + 2);
static_assert(offsetof(ECFIF_descritor_nvmem, flags) == sizeof(void *) + 3);
#if defined(__i386__)
static_assert(sizeof(ECFIF_descritor_nvmem) == 8);
#endif
