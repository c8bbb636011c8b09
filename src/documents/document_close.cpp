#include "documents/document_common.h"

using namespace receipt;

namespace documents {

bool le_estado_sem_documento() {
  unsigned char estado = 0;
  return ECFBMTC_le_estado_do_ecf(&estado) == 0 && documento_fechado(estado);
}

int fecha_documento_texto(const char *nome, int repete) {
  ECFBMTCAUX_o_que_repetir = 0;
  registra(log_protocolo, "%s()...", nome);
  if (ecf::nv::campo(ecf::nv::buffer_linhas)[0] != 0) {
    const int rb = BMTCLOCAL_imprime_buffer();
    if (rb != 0) {
      registra(log_protocolo, "imprime_buffer()=%d, tratado como OK.", rb);
      ecf::nv::campo(ecf::nv::buffer_linhas)[0] = 0;
      ecf::nv::marca_alterado();
    }
  }
  int r = ECFBMTC_exec(21);
  registra(log_protocolo, "%s()=%d.", nome, r);
  if (r != 0 && le_estado_sem_documento()) {
    registra(log_protocolo, "%s()=%d, tratado como OK.", nome, r);
    r = 0;
  }
  if (r == 0)
    muda_estado_doc(0);
  else
    ECFBMTCAUX_o_que_repetir = repete;
  return r;
}

}  // namespace documents
