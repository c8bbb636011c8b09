// Bounded access to the data of the last printer answer (after ACK, ST1, ST2).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ecfbmtc/transport.h"

namespace ecf::core::resposta {

inline int tamanho_dados() {
  if (ECFIF_buffer_protocolo == nullptr || ECFIF_tam_resposta_ecf < 3) return 0;
  return ECFIF_tam_resposta_ecf - 3;
}

// Data byte k, or 0 past the end of what the printer sent.
inline uint8_t dado(int k) {
  if (k < 0 || k >= tamanho_dados()) return 0;
  return ECFIF_buffer_protocolo[3 + k];
}

// Copies n data bytes from k; bytes the printer did not send read as 0.
inline void copia_dados(uint8_t *destino, int k, int n) {
  for (int i = 0; i < n; ++i) destino[i] = dado(k + i);
}

}  // namespace ecf::core::resposta
