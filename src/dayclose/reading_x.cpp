// Reading X, alone or followed by an open management report.
#include "dayclose/day_state.h"
#include "ecfbmtc/dayclose.h"
#include "ecfbmtc/documents.h"
#include "receipt/common.h"

using namespace ecf::dayclose;
using receipt::eh_mfd;
using receipt::log_interface;
using receipt::registra;

namespace {

constexpr int cmd_leitura_x = 6;
constexpr int cmd_texto_relatorio = 20;
constexpr int repetir_leitura_x_com_relat = 11;

bool g_leitura_x_sem_relatorio = false;

}  // namespace

namespace ecf::dayclose {

bool &leitura_x_sem_relatorio() {
  return g_leitura_x_sem_relatorio;
}

int abre_relatorio_do_dia() {
  const int r = eh_mfd() ? ECFIF_abre_relatorio() : ECFBMTC_exec(cmd_texto_relatorio);
  if (r != 0) return r;
  ecf::nv::muda_estado_doc(doc_relatorio);
  ecf::nv::muda_estado_dia(dia_aberto);
  ecf::nv::limpa(ecf::nv::buffer_linhas);
  return 0;
}

}  // namespace ecf::dayclose

extern "C" {

int ECFIF_leitura_x(void) {
  registra(log_interface, "leitura_x()");
  const unsigned char dia = ecf::nv::estado_dia_atual();
  const int r = ECFBMTC_exec(cmd_leitura_x);
  if (r != 0) return r;
  if (dia != dia_reduzido) ecf::nv::muda_estado_doc(doc_nenhum);
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
  ECFBMTCAUX_o_que_repetir = 0;
  if (eh_mfd() && !leitura_x_sem_relatorio()) {
    const int r = ECFBMTC_exec(cmd_leitura_x);
    if (r != 0) {
      ECFBMTCAUX_o_que_repetir = repetir_leitura_x_com_relat;
      return r;
    }
    leitura_x_sem_relatorio() = true;
  }
  const int r = abre_relatorio_do_dia();
  if (r != 0) {
    ECFBMTCAUX_o_que_repetir = repetir_leitura_x_com_relat;
    return r;
  }
  leitura_x_sem_relatorio() = false;
  return 0;
}

}  // extern "C"
