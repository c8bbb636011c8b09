// Stand-in for the non-fiscal receipt until it is built: nothing of it is
// ever open here.
#include "ecfbmtc/config.h"
#include "ecfbmtc/transport.h"
#include "receipt/deps.h"
#include "setup/persistent_state.h"

extern "C" int BMTCLOCAL_cnf_eh_simulado(int codigo) {
  return ((BMTCLOCAL_flg_vers & 1) == 0 || codigo == 29) ? 1 : 0;
}

extern "C" int ECFIF_fim_cnf(void) {
  ECFBMTCAUX_o_que_repetir = 0;
  if (ecf::nv::estado_doc_atual() == 3) ecf::nv::muda_estado_doc(0);
  return 0;
}
