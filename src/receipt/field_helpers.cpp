// Small text-field helpers of the payment and closing commands.
#include "receipt/common.h"

extern "C" void BMTCLOCAL_troca_brancos_por_zeros(char *texto, int n) {
  if (!texto) return;
  for (int i = 0; i < n && texto[i] != '\0'; ++i)
    if (texto[i] == ' ') texto[i] = '0';
}

extern "C" void BMTCLOCAL_completa_campo(char *destino, int caractere, int n) {
  if (!destino) return;
  int i = 0;
  for (; i < n; ++i) destino[i] = static_cast<char>(caractere);
  destino[i] = '\0';
}
