// The cash drawer: one pulse of the configured length.
#include "core/core.h"
#include "ecfbmtc.h"

using namespace ecf::core;

extern "C" int ECFIF_abre_gaveta(void) {
  registra(log_interface, "abre_gaveta()");
  Argumentos<1> pulso;
  pulso.byte(ECFBMTC_tempo_pulso_gaveta);
  return envia(cmd::abre_gaveta, pulso);
}
