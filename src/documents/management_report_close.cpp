// Closing of a management report (command 21): what is left in the line
// buffer is printed first; a refused close while the printer has no document
// open counts as done.
#include "core/core.h"
#include "ecfbmtc/documents.h"
#include "setup/persistent_state.h"

using namespace ecf::core;

extern "C" int ECFIF_fim_relat(void) {
  marca_repeticao(Repete::ultimo_comando);
  registra(log_protocolo, "fim_relat()...");
  if (ecf::nv::texto(ecf::nv::buffer_linhas)[0] != '\0') {
    if (const int f = BMTCLOCAL_imprime_buffer(); f != 0) {
      tratado_como_ok("imprime_buffer", f);
      ecf::nv::limpa(ecf::nv::buffer_linhas);
    }
  }
  int r = ECFBMTC_exec(cmd::fecha_relatorio);
  registra(log_protocolo, "fim_relat()=%d.", r);
  if (r != 0) {
    unsigned char estado = 0;
    if (ECFBMTC_le_estado_do_ecf(&estado) == 0 && sem_documento_aberto(estado))
      r = tratado_como_ok("fim_relat", r);
  }
  if (r == 0) {
    ecf::nv::muda_estado_doc(doc::nenhum);
    return 0;
  }
  marca_repeticao(Repete::fim_relat);
  return r;
}
