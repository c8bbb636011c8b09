// Closing of a management report (command 21): what is left in the line
// buffer is printed first; a refused close while the printer has no document
// open counts as done.
#include "ecfbmtc/documents.h"
#include "receipt/common.h"

using receipt::documento_fechado;
using receipt::log_protocolo;
using receipt::registra;

namespace {

constexpr int cmd_fecha_relatorio = 21;
constexpr int repetir_fim_relat = 6;

}  // namespace

extern "C" int ECFIF_fim_relat(void) {
  ECFBMTCAUX_o_que_repetir = 0;
  registra(log_protocolo, "fim_relat()...");
  if (ecf::nv::texto(ecf::nv::buffer_linhas)[0] != '\0') {
    if (const int f = BMTCLOCAL_imprime_buffer(); f != 0) {
      registra(log_protocolo, "imprime_buffer()=%d, tratado como OK.", f);
      ecf::nv::limpa(ecf::nv::buffer_linhas);
    }
  }
  int r = ECFBMTC_exec(cmd_fecha_relatorio);
  registra(log_protocolo, "fim_relat()=%d.", r);
  if (r != 0) {
    unsigned char estado = 0;
    if (ECFBMTC_le_estado_do_ecf(&estado) == 0 && documento_fechado(estado)) {
      registra(log_protocolo, "fim_relat()=%d, tratado como OK.", r);
      r = 0;
    }
  }
  if (r == 0) {
    ecf::nv::muda_estado_doc(0);
    return 0;
  }
  ECFBMTCAUX_o_que_repetir = repetir_fim_relat;
  return r;
}
