// Reading X, alone or followed by an open management report.
#include "core/core.h"
#include "dayclose/day_state.h"
#include "ecfbmtc/dayclose.h"
#include "ecfbmtc/documents.h"
#include "setup/persistent_state.h"

using namespace ecf::core;

namespace {

bool g_leitura_x_sem_relatorio = false;
const Reinicio reinicio([] { g_leitura_x_sem_relatorio = false; });

}  // namespace

namespace ecf::dayclose {

bool &leitura_x_sem_relatorio() {
  return g_leitura_x_sem_relatorio;
}

int abre_relatorio_do_dia() {
  const int r = eh_mfd() ? ECFIF_abre_relatorio() : ECFBMTC_exec(cmd::texto_relatorio);
  if (r != 0) return r;
  nv::muda_estado_doc(doc::relatorio);
  nv::muda_estado_dia(dia::aberto);
  nv::limpa(nv::buffer_linhas);
  return 0;
}

}  // namespace ecf::dayclose

using ecf::dayclose::leitura_x_sem_relatorio;

extern "C" {

int ECFIF_leitura_x(void) {
  registra(log_interface, "leitura_x()");
  const unsigned char ultimo_evento = ecf::nv::estado_dia_atual();
  const int r = ecf::core::envia_documento("leitura_x", cmd::leitura_x);
  if (r != 0) return r;
  if (ultimo_evento != dia::reduzido) ecf::nv::muda_estado_doc(doc::nenhum);
  leitura_x_sem_relatorio() = false;
  return 0;
}

int ECFIF_leit_x_troca1(void) {
  registra(log_interface, "leit_x_troca1()");
  return ECFIF_leitura_x();
}

int ECFIF_leit_x_troca2(void) {
  registra(log_interface, "leit_x_troca2()");
  return ECFIF_leitura_x();
}

int ECFIF_leitura_x_com_relat(void) {
  registra(log_interface, "leitura_x_com_relat()");
  marca_repeticao(Repete::ultimo_comando);
  if (eh_mfd() && !leitura_x_sem_relatorio()) {
    if (const int r = ecf::core::envia_documento("leitura_x", cmd::leitura_x); r != 0) {
      marca_repeticao(Repete::leitura_x_com_relat);
      return r;
    }
    leitura_x_sem_relatorio() = true;
  }
  if (const int r = ecf::dayclose::abre_relatorio_do_dia(); r != 0) {
    marca_repeticao(Repete::leitura_x_com_relat);
    return r;
  }
  leitura_x_sem_relatorio() = false;
  return 0;
}

}  // extern "C"
