// Placeholders for the configuration names the receipt uses, until the
// configuration lands; its definitions take precedence over these.
#include <cstring>

#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "receipt/deps.h"

extern "C" unsigned char ECFBMTC_carregou_fpag;

extern "C" {
__attribute__((weak)) int ECFBMTC_modelo_ecf = 0;
__attribute__((weak)) int ECFBMTC_num_col_ecf = 0;
__attribute__((weak)) int BMTCLOCAL_flg_vers = 0;

__attribute__((weak)) int ECFBMTC_carrega_formas_pagto(void) {
  if (!ECFBMTC_formas_pagto) {
    if (!KALLOC_alocou(&ECFBMTC_formas_pagto, 850)) return 44;
    ECFBMTC_carregou_fpag = 0;
  }
  if (ECFBMTC_carregou_fpag) return 0;
  const bool mfd = BMTCLOCAL_flg_vers & 1;
  int r = ECFBMTC_le_parametro(mfd ? 49 : 32);
  if (r != 0) return r;
  const int n = mfd ? 20 : 50;
  const unsigned char *origem = ECFIF_buffer_protocolo + 3 + (mfd ? 0 : 1);
  for (int i = 0; i < n; ++i) {
    unsigned char *e = ECFBMTC_formas_pagto + 17 * i;
    std::memset(e, 0, 17);
    if (origem[16 * i] == 0) continue;
    std::memset(e, ' ', 16);
    std::memcpy(e, origem + 16 * i, strnlen(reinterpret_cast<const char *>(origem + 16 * i), 16));
  }
  ECFBMTC_carregou_fpag = 1;
  return 0;
}
}
