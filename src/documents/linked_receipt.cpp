// The linked receipt is not built yet: its end cannot close one the printer
// has open, so it passes the failure on instead of success.
#include "core/states.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "receipt/deps.h"

extern "C" int ECFIF_fim_cnf_vinc(void) {
  using namespace ecf::core;
  if (ECFLOG_modo & 1) ECFLOG_print("fim_cnf_vinc()...");
  marca_repeticao(Repete::fim_cnf_vinc);
  if (ECFLOG_modo & 1) ECFLOG_print("fim_cnf_vinc()=%d.", nao_disponivel);
  return nao_disponivel;
}
