// Packed decimal helpers over answer bytes.
#include "ecfbmtc/transport.h"
#include "transport/exchange.h"

extern "C" {

int ECFBMTC_le_bcd2(int pos) {
  const unsigned char *b = ECFIF_buffer_protocolo;
  if (b == nullptr || pos < 0 || static_cast<unsigned>(pos) + 1 >= ecf::transport::answer_size())
    return 0;
  return ((b[pos] & 0x0F) << 4) | (b[pos + 1] & 0x0F);
}

int ECFBMTCAUX_bcd_para_texto(char *dst, const unsigned char *src, int n) {
  if (dst == nullptr || src == nullptr || n <= 0) return 0;
  for (int i = 0; i < n; ++i) {
    dst[2 * i] = static_cast<char>('0' + (src[i] >> 4));
    dst[2 * i + 1] = static_cast<char>('0' + (src[i] & 0x0F));
  }
  return 2 * n;
}

int ECFBMTCAUX_bcd_para_asciiz(char *dst, const unsigned char *src, int n) {
  if (dst == nullptr) return 0;
  const int len = ECFBMTCAUX_bcd_para_texto(dst, src, n);
  dst[len] = '\0';
  return len;
}

}  // extern "C"
