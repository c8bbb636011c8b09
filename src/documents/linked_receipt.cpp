// Stand-in for the linked receipt until it is built: nothing of it is ever
// open here.
#include "receipt/deps.h"

extern "C" int ECFIF_fim_cnf_vinc(void) {
  ECFBMTCAUX_o_que_repetir = 0;
  unsigned char &estado = *deps::campo(deps::estado_doc);
  if (estado == 2) estado = 0;
  deps::marca_alterado();
  return 0;
}
