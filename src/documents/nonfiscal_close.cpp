// Ending a non-fiscal receipt: one command 25 for a simulated receipt, the
// receipt close for a real one with an amount, its cancel otherwise.
#include <cstdio>

#include "documents/document_common.h"
#include "setup/payment_name.h"

using namespace ecf::documents;

namespace {

namespace nome = ecf::setup::nome_fpag;

constexpr std::size_t largura_valor = 14;
// Cash entry and withdrawal on the printers without detail-tape memory.
constexpr int cod_suprimento = 51;
constexpr int cod_sangria = 52;

void encerrado() {
  ecf::nv::limpa(ecf::nv::valor_cnf);
  muda_estado_doc(doc::nenhum);
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
  if (estado_doc() != doc::nao_fiscal) {
    muda_estado_doc(doc::nenhum);
    return 0;
  }
  // After a restart of the host the table is not loaded yet.
  int r = ECFBMTC_carrega_formas_pagto();
  if (r != 0) return r;
  Argumentos<2 + largura_valor + nome::tam_nome> a;
  const int codigo = ecf::nv::codigo_cnf_atual();
  if (codigo == cod_suprimento) {
    a.texto("SU");
  } else if (codigo == cod_sangria) {
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
  r = envia(cmd::comprovante_nao_fiscal, a);
  registra(log_protocolo, "fim_cnf()=%d.", r);
  if (r == 0) {
    encerrado();
    return 0;
  }
  if (!le_estado_sem_documento()) return r;
  encerrado();
  return tratado_como_ok("fim_cnf", r);
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
  const int r = ECFBMTC_exec_argum(cmd::cancela_cnf, n ? bloco : nullptr, n);
  registra(log_protocolo, "cancela_oper_nao_fiscal()=%d.", r);
  if (r == 0) {
    muda_estado_doc(doc::nenhum);
    ECFBMTCAUX_limpa_linhas(publicidade(), slots_publicidade);
    return 0;
  }
  // Here only states 1 and 2 count as nothing open.
  const int estado = le_estado_ecf();
  if (estado != ecf::core::sem_documento_sem_dia && estado != ecf::core::sem_documento) return r;
  encerrado();
  return tratado_como_ok("fim_cnf", r);
}

}  // namespace

extern "C" int ECFIF_fim_cnf(void) {
  registra(log_protocolo, "fim_cnf()...");
  marca_repeticao(Repete::ultimo_comando);
  int r = 0;
  if (BMTCLOCAL_cnf_eh_simulado(ecf::nv::codigo_cnf_atual()))
    r = fecha_simulado();
  else if (!valor8_zero(ecf::nv::valor_cnf_ptr()))
    r = fecha_com_valor();
  else
    r = cancela_operacao();
  if (r != 0) marca_repeticao(Repete::fim_cnf);
  return r;
}
