#include "ecfbmtc/transport.h"

extern "C" {

void BMTCLOCAL_seta_bit(unsigned char *bits, int n) {
  if (bits == nullptr || n < 0) return;
  bits[n / 8] = static_cast<unsigned char>(bits[n / 8] | (1u << (n % 8)));
}

void BMTCLOCAL_reseta_bit(unsigned char *bits, int n) {
  if (bits == nullptr || n < 0) return;
  bits[n / 8] = static_cast<unsigned char>(bits[n / 8] & ~(1u << (n % 8)));
}

int BMTCLOCAL_testa_bit(const unsigned char *bits, int n) {
  if (bits == nullptr || n < 0) return 0;
  return (bits[n / 8] >> (n % 8)) & 1;
}

}  // extern "C"
