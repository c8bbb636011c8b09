// Signing an export: the host's signing function, or a plain rename.
#include "core/core.h"
#include "ecfbmtc/dayclose.h"
#include "platform/platform.h"

using namespace ecf::core;

extern "C" int ECFIF_assina_paf(const char *origem, const char *destino) {
  if (origem == nullptr || destino == nullptr) return 2;
  if (ECFIF_pfunc_assina_paf != nullptr) {
    const int r = ECFIF_pfunc_assina_paf(origem, destino);
    registra(log_protocolo, "gera_assinatura(%s)=%d.", destino, r);
    return r != 0 ? 4 : 0;
  }
  if (arquivos::renomeia(origem, destino)) return 0;
  // The host must not believe in a file that is not there.
  registra(log_protocolo, "assina_paf(): falhou ao renomear arquivo.");
  return 4;
}
