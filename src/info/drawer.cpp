// The cash drawer: one pulse of the configured length.
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace {
constexpr int log_interface = 2;
constexpr int cmd_abre_gaveta = 22;
}  // namespace

extern "C" int ECFIF_abre_gaveta(void) {
  if (ECFLOG_modo & log_interface) ECFLOG_print("abre_gaveta()");
  const unsigned char pulso = ECFBMTC_tempo_pulso_gaveta;
  return ECFBMTC_exec_argum(cmd_abre_gaveta, &pulso, 1);
}
