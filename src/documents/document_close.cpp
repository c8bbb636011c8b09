#include "documents/document_common.h"

namespace ecf::documents {

int le_estado_ecf() {
  unsigned char estado = 0;
  return ECFBMTC_le_estado_do_ecf(&estado) == 0 ? estado : -1;
}

void esvazia_buffer_linhas() {
  ecf::nv::campo(ecf::nv::buffer_linhas)[0] = 0;
  ecf::nv::marca_alterado();
}

int fecha_documento_texto(const char *nome, Repete repete) {
  marca_repeticao(Repete::ultimo_comando);
  registra(log_protocolo, "%s()...", nome);
  if (ecf::nv::campo(ecf::nv::buffer_linhas)[0] != 0) {
    const int rb = BMTCLOCAL_imprime_buffer();
    if (rb != 0) {
      tratado_como_ok("imprime_buffer", rb);
      esvazia_buffer_linhas();
    }
  }
  int r = ECFBMTC_exec(cmd::fecha_relatorio);
  registra(log_protocolo, "%s()=%d.", nome, r);
  if (r != 0 && le_estado_sem_documento()) r = tratado_como_ok(nome, r);
  if (r == 0)
    muda_estado_doc(doc::nenhum);
  else
    marca_repeticao(repete);
  return r;
}

}  // namespace ecf::documents
