// The repeat of an interrupted operation: the operation the repeat code
// names runs again whole; any other failure has its last command sent again.
#include "core/core.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "transport/exchange.h"

extern "C" int ECFIF_repete(void) {
  if (const auto operacao = ecf::core::operacao_a_repetir(ECFBMTCAUX_o_que_repetir))
    return operacao();
  ECFIF_envelope_inicia();
  const int r = ecf::transport::send_pending();
  ECFIF_envelope_termina();
  return r;
}
