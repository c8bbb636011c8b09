// Daylight saving time. Command 18 switches the printer's state, so it is
// sent only when the state has to change.
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "setup/answer_data.h"

namespace {

constexpr int log_interface = 2;
constexpr unsigned char var_flags = 17;
constexpr std::uint8_t flag_verao = 0x04;
constexpr int cmd_troca_verao = 18;

int muda_verao(bool entrar) {
  if (const int r = ECFBMTC_le_parametro(var_flags); r != 0) return r;
  const bool em_verao = (ecfbmtc::resposta::dado(0) & flag_verao) != 0;
  return em_verao == entrar ? 0 : ECFBMTC_exec(cmd_troca_verao);
}

}  // namespace

extern "C" {

int ECFIF_entra_verao(void) {
  if (ECFLOG_modo & log_interface) ECFLOG_print("entra_verao()");
  return muda_verao(true);
}

int ECFIF_sai_verao(void) {
  if (ECFLOG_modo & log_interface) ECFLOG_print("sai_verao()");
  return muda_verao(false);
}

}  // extern "C"
