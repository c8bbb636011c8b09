// Daylight saving time. Command 18 switches the printer's state, so it is
// sent only when the state has to change.
#include "core/core.h"
#include "ecfbmtc.h"

namespace {

using namespace ecf::core;

int muda_verao(bool entrar) {
  if (const int r = ECFBMTC_le_parametro(var::flags_documento); r != 0) return r;
  const bool em_verao = (resposta::dado(0) & var::bit_verao) != 0;
  return em_verao == entrar ? 0 : ECFBMTC_exec(cmd::troca_verao);
}

}  // namespace

extern "C" {

int ECFIF_entra_verao(void) {
  registra(log_interface, "entra_verao()");
  return muda_verao(true);
}

int ECFIF_sai_verao(void) {
  registra(log_interface, "sai_verao()");
  return muda_verao(false);
}

}  // extern "C"
