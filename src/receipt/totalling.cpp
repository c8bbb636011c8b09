// Beginning the totalling of a fiscal receipt, or of a real non-fiscal one.
#include "platform/platform.h"
#include "receipt/common.h"

using namespace ecf::receipt;

namespace {

bool totaliza_nao_fiscal() {
  return estado_doc() == doc::nao_fiscal && eh_mfd() &&
         ecf::nv::le_i32(ecf::nv::codigo_cnf) != 29 &&
         !valor8_zero(ecf::nv::campo(ecf::nv::valor_cnf));
}

}  // namespace

extern "C" int ECFIF_imprime_total(const char *texto) {
  registra(log_interface, "imprime_total(%s)...", txt_vazio(texto));
  int r = 0;
  ecf::core::assenta_pendente(0, r);
  marca_repeticao(Repete::ultimo_comando);
  r = ECFBMTC_le_parametro(var::flags_documento);
  if (r != 0) {
    marca_repeticao(Repete::imprime_total);
    return r;
  }
  const unsigned char f = ECFIF_buffer_protocolo[3];
  const bool cupom_aberto = f & 1;
  const bool totalizando = f & 2;
  if (cupom_aberto && !totalizando) {
    static constexpr unsigned char inicio[] = {'D', '0', '0', '0', '0'};
    r = ECFBMTC_exec_argum(cmd::ajusta_subtotal, inicio, sizeof inicio);
    registra(log_interface, "imprime_total()=%d.", r);
  } else if (!cupom_aberto && !totalizando && totaliza_nao_fiscal()) {
    Argumentos<15> a;
    a.byte('d');
    a.repete('0', 14);
    r = envia(cmd::totaliza_cnf, a);
    registra(log_interface, "imprime_total()=%d.", r);
  }
  if (r != 0) {
    marca_repeticao(Repete::imprime_total);
    return r;
  }
  ecf::nv::limpa(ecf::nv::total_pago);
  return 0;
}

extern "C" int ECFIF_guarda_subtotal(const char *texto) {
  registra(log_interface, "guarda_subtotal(%s)", txt_vazio(texto));
  return 0;
}

extern "C" int ECFIF_troco(const char *texto) {
  registra(log_interface, "troco(%s)", txt_vazio(texto));
  return 0;
}
