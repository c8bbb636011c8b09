// Ending a non-fiscal receipt: one command 25 for a simulated receipt, the
// receipt close for a real one with an amount, its cancel otherwise.
#include <cstdio>

#include "documents/document_common.h"
#include "setup/payment_name.h"

using namespace receipt;
using namespace documents;

namespace {

namespace nome = ecfbmtc::nome_fpag;

constexpr std::size_t largura_valor = 14;

void encerrado() {
  ecf::nv::limpa(ecf::nv::valor_cnf);
  muda_estado_doc(0);
}

// The method's name, or none when the number names no entry of the
// printer's table (no payment taken, or a number past the table).
std::string_view nome_da_forma(int forma) {
  if (forma < 1 || forma > qtd_formas_pagto() || !ECFBMTC_formas_pagto) return {};
  const auto *e = ECFBMTC_formas_pagto + nome::tam_campo * static_cast<std::size_t>(forma - 1);
  if (e[0] == 0) return {};
  return {reinterpret_cast<const char *>(e), nome::tam_nome};
}

int fecha_simulado() {
  if (estado_doc() != 3) {
    muda_estado_doc(0);
    return 0;
  }
  // After a restart of the host the table is not loaded yet.
  int r = ECFBMTC_carrega_formas_pagto();
  if (r != 0) return r;
  Argumentos<2 + largura_valor + nome::tam_nome> a;
  const int codigo = ecf::nv::codigo_cnf_atual();
  if (codigo == 51) {
    a.texto("SU");
  } else if (codigo == 52) {
    a.texto("SA");
  } else {
    char numero[3];
    const unsigned u = static_cast<unsigned>(codigo < 0 ? -(codigo % 100) : codigo % 100);
    std::snprintf(numero, sizeof numero, "%02u", u);
    a.texto(numero);
  }
  char valor[32] = {};
  _8toa(valor, ecf::nv::valor_cnf_ptr());
  a.z(valor, largura_valor);
  a.texto(nome_da_forma(ecf::nv::forma_pagto_cnf_atual()));
  r = envia(25, a);
  registra(log_protocolo, "fim_cnf()=%d.", r);
  if (r == 0) {
    encerrado();
    return 0;
  }
  if (le_estado_sem_documento()) {
    registra(log_protocolo, "fim_cnf()=%d, tratado como OK.", r);
    encerrado();
    return 0;
  }
  return r;
}

int fecha_com_valor() {
  const int r = fecha_com_publicidade();
  registra(log_protocolo, "fim_cnf()=%d.", r);
  if (r == 0) encerrado();
  return r;
}

// Nothing registered: the printer's receipt is cancelled.
int cancela_operacao() {
  registra(log_protocolo, "cancela_oper_nao_fiscal()...");
  unsigned char bloco[140];
  const int n = BMTCLOCAL_formata_dados_cliente(bloco, nullptr, nullptr, nullptr);
  const int r = ECFBMTC_exec_argum(81, n ? bloco : nullptr, n);
  registra(log_protocolo, "cancela_oper_nao_fiscal()=%d.", r);
  if (r == 0) {
    muda_estado_doc(0);
    ECFBMTCAUX_limpa_linhas(publicidade(), slots_publicidade);
    return 0;
  }
  unsigned char estado = 0;
  if (ECFBMTC_le_estado_do_ecf(&estado) == 0 && (estado == 1 || estado == 2)) {
    registra(log_protocolo, "fim_cnf()=%d, tratado como OK.", r);
    encerrado();
    return 0;
  }
  return r;
}

}  // namespace

extern "C" int ECFIF_fim_cnf(void) {
  registra(log_protocolo, "fim_cnf()...");
  ECFBMTCAUX_o_que_repetir = 0;
  int r = 0;
  if (BMTCLOCAL_cnf_eh_simulado(ecf::nv::codigo_cnf_atual()))
    r = fecha_simulado();
  else if (!valor8_zero(ecf::nv::valor_cnf_ptr()))
    r = fecha_com_valor();
  else
    r = cancela_operacao();
  if (r != 0) ECFBMTCAUX_o_que_repetir = 4;
  return r;
}
