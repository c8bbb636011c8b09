// Stand-in for the linked receipt until it is built: nothing of it is ever
// open here.
#include "ecfbmtc/config.h"
#include "ecfbmtc/transport.h"
#include "receipt/deps.h"
#include "setup/persistent_state.h"

extern "C" int ECFIF_fim_cnf_vinc(void) {
  ECFBMTCAUX_o_que_repetir = 0;
  if (ecf::nv::estado_doc_atual() == 2) ecf::nv::muda_estado_doc(0);
  return 0;
}
