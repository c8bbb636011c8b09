// Opening of the fiscal receipt.
#include "receipt/common.h"

using namespace ecf::receipt;

namespace {

// A fiscal receipt with nothing registered yet (subtotal zero).
bool cupom_vazio() {
  ecf::core::Figura subtotal;
  return ecf::core::le_figura(cmd::le_limite_fase, bytes_subtotal, subtotal) == 0 &&
         subtotal == ecf::core::Figura{};
}

}  // namespace

extern "C" int ECFBMTC_cf_abertura_txt(const char *f1, const char *f2, const char *f3) {
  registra(log_interface, "cf_abertura_txt(%s,%s,%s)...", txt(f1), txt(f2), txt(f3));
  if (const int r = garante_configuracao(); r != 0) return r;
  unsigned char bloco[140];
  int n = BMTCLOCAL_formata_dados_cliente(bloco, f1, f2, f3);
  int r = ECFBMTC_exec_argum(cmd::abre_cupom, n ? bloco : nullptr, n);
  registra(log_protocolo, "cf_abertura_txt()=%d.", r);
  if (r == 0) {
    esquece_consumidor();
  } else {
    unsigned char estado = 0;
    if (ECFBMTC_le_estado_do_ecf(&estado) != 0) return r;
    if (estado == ecf::core::cupom_aberto && cupom_vazio()) {
      // Opened by this command whose answer was lost, or by an earlier one:
      // either way the receipt the host asks for stands open, with the
      // consumer block printed.
      esquece_consumidor();
    } else if (estado != ecf::core::sem_documento_com_dia) {
      return r;
    }
    tratado_como_ok("cf_abertura_txt", r);
  }
  if (eh_mfd()) esvazia_pagtos_vinculaveis();
  muda_estado_doc(doc::cupom_fiscal);
  return 0;
}

extern "C" int ECFIF_inicio_venda(void) {
  registra(log_interface, "inicio_venda()...");
  marca_repeticao(Repete::ultimo_comando);
  int r = 0;
  ecf::core::assenta_pendente(0, r);
  // The block is built before the fields are forgotten, so pointing into the
  // record is safe.
  r = ECFBMTC_cf_abertura_txt(consumidor(ecf::nv::consumidor_cpf_cnpj),
                              consumidor(ecf::nv::consumidor_nome),
                              consumidor(ecf::nv::consumidor_endereco));
  if (r != 0) marca_repeticao(Repete::inicio_venda);
  registra(log_protocolo, "inicio_venda()=%d.", r);
  return r;
}

extern "C" int ECFIF_inic_venda_txt(const char *texto) {
  registra(log_interface, "inic_venda_txt(%s)", txt(texto));
  return ECFIF_inicio_venda();
}
