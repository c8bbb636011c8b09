// The non-fiscal receipt is not built yet: its end cannot close one the
// printer has open, so it passes the failure on instead of success.
#include "core/models.h"
#include "core/states.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "receipt/deps.h"

extern "C" int BMTCLOCAL_cnf_eh_simulado(int codigo) {
  return (!ecf::core::eh_mfd() || codigo == 29) ? 1 : 0;
}

extern "C" int ECFIF_fim_cnf(void) {
  using namespace ecf::core;
  if (ECFLOG_modo & 1) ECFLOG_print("fim_cnf()...");
  marca_repeticao(Repete::fim_cnf);
  if (ECFLOG_modo & 1) ECFLOG_print("fim_cnf()=%d.", nao_disponivel);
  return nao_disponivel;
}
