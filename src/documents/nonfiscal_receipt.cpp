// Opening a non-fiscal receipt and registering its amount. On the printers
// without a detail-tape memory, and for totalizer 29, the receipt is only
// kept in the record and printed whole by its close.
#include "documents/document_common.h"

using namespace ecf::documents;

namespace {

constexpr int cod_simulado_mfd = 29;
constexpr int primeiro_totalizador = 1;
constexpr int ultimo_totalizador = 30;
constexpr std::size_t largura_valor = 14;

int codigo_atual() {
  return ecf::nv::codigo_cnf_atual();
}

void aberto() {
  ecf::nv::limpa(ecf::nv::total_pago);
  ecf::nv::muda_estado_dia(ecf::core::dia::aberto);
  muda_estado_doc(doc::nao_fiscal);
}

// An amount the 14-digit field cannot hold, or no amount at all.
bool valor_invalido(const char *valor) {
  if (!valor) return true;
  while (*valor == '0') ++valor;
  return strnlen(valor, largura_valor + 1) > largura_valor;
}

}  // namespace

extern "C" int BMTCLOCAL_cnf_eh_simulado(int codigo) {
  return (!eh_mfd() || codigo == cod_simulado_mfd) ? 1 : 0;
}

extern "C" int ECFBMTC_abre_cnf(const char *f1, const char *f2, const char *f3) {
  registra(log_interface, "abre_cnf(%s,%s,%s)...", txt(f1), txt(f2), txt(f3));
  if (!eh_mfd()) return ecf::core::nao_disponivel;
  unsigned char bloco[140];
  const int n = BMTCLOCAL_formata_dados_cliente(bloco, f1, f2, f3);
  int r = ecf::core::envia_documento(
      "abre_cnf", cmd::abre_cnf,
      {reinterpret_cast<const char *>(bloco), static_cast<std::size_t>(n)});
  registra(log_protocolo, "abre_cnf()=%d.", r);
  if (r == 0) {
    esquece_consumidor();
  } else if (le_estado(ecf::core::cnf_aberto)) {
    tratado_como_ok("abre_cnf", r);
  } else {
    return r;
  }
  ecf::nv::limpa(ecf::nv::valor_cnf);
  esvazia_pagtos_vinculaveis();
  aberto();
  return 0;
}

extern "C" int ECFIF_inicia_cnf(unsigned codigo) {
  registra(log_interface, "inicia_cnf()...");
  marca_repeticao(Repete::ultimo_comando);
  ecf::nv::muda_codigo_cnf(static_cast<int>(codigo));
  if (BMTCLOCAL_cnf_eh_simulado(static_cast<int>(codigo))) {
    aberto();
    return 0;
  }
  const int r = ECFBMTC_abre_cnf(consumidor(ecf::nv::consumidor_cpf_cnpj),
                                 consumidor(ecf::nv::consumidor_nome),
                                 consumidor(ecf::nv::consumidor_endereco));
  if (r == 0)
    aberto();
  else
    marca_repeticao(Repete::inicia_cnf);
  registra(log_protocolo, "inicia_cnf()=%d.", r);
  return r;
}

extern "C" int ECFBMTC_registra_em_comprovante(int codigo, const char *valor) {
  registra(log_interface, "registra_em_comprovante(%d,%s)...", codigo, txt(valor));
  if (BMTCLOCAL_cnf_eh_simulado(codigo_atual())) return ecf::core::nao_disponivel;
  if (codigo < primeiro_totalizador || codigo > ultimo_totalizador || valor_invalido(valor))
    return 2;
  // A refused registration leaves the amount of the earlier one, so a receipt
  // with an accepted registration is still closed, never cancelled.
  unsigned char anterior[8];
  std::memcpy(anterior, ecf::nv::valor_cnf_ptr(), sizeof anterior);
  _ato8(ecf::nv::valor_cnf_ptr(), valor);
  ecf::nv::marca_alterado();
  while (*valor == '0') ++valor;
  char numero[3];
  std::snprintf(numero, sizeof numero, "%02d", codigo);
  Argumentos<2 + largura_valor> a;
  a.texto(numero);
  a.z(valor, largura_valor);
  const int r = envia(cmd::registra_cnf, a);
  registra(log_interface, "registra_em_comprovante()=%d.", r);
  if (r != 0) {
    std::memcpy(ecf::nv::valor_cnf_ptr(), anterior, sizeof anterior);
    ecf::nv::marca_alterado();
    return r;
  }
  ecf::nv::muda_codigo_cnf(codigo);
  ecf::nv::limpa(ecf::nv::total_pago);
  return 0;
}

extern "C" int ECFBMTC_registra_em_cnf(int codigo, const char *valor) {
  registra(log_interface, "registra_em_cnf(%d,%s)", codigo, txt(valor));
  if (estado_doc() != doc::nao_fiscal) return 1;
  if (valor_invalido(valor)) return 2;
  if (!BMTCLOCAL_cnf_eh_simulado(codigo_atual()))
    return ECFBMTC_registra_em_comprovante(codigo, valor);
  _ato8(ecf::nv::valor_cnf_ptr(), valor);
  ecf::nv::marca_alterado();
  if (codigo > 0 && !valor8_zero(ecf::nv::valor_cnf_ptr())) {
    ecf::nv::muda_codigo_cnf(codigo);
    return 0;
  }
  ecf::nv::limpa(ecf::nv::valor_cnf);
  return 2;
}
