// Payments and the payment records a later linked receipt refers to.
#include <cstdio>

#include "core/reset.h"
#include "platform/platform.h"
#include "receipt/common.h"

using namespace ecf::receipt;

namespace {

constexpr int max_formas = 50;         // entries of the payment method cache
constexpr std::size_t tam_forma = 17;  // 16 characters and a NUL
constexpr std::size_t largura_valor = 14;
constexpr std::size_t max_textos = 80;

void soma_total_pago(const char *valor) {
  unsigned char v[8];
  _ato8(v, valor);
  unsigned char *total = ecf::nv::campo(ecf::nv::total_pago);
  unsigned char soma[8];
  _8soma(soma, total, v);
  std::memcpy(total, soma, sizeof soma);
  ecf::nv::marca_alterado();
}

// Command 72: method, amount, then the two optional texts (together at most
// 80 characters).
Argumentos<2 + largura_valor + max_textos> argumentos_pagamento(int forma, const char *valor,
                                                                const char *texto1,
                                                                const char *texto2) {
  Argumentos<2 + largura_valor + max_textos> a;
  char numero[3];
  std::snprintf(numero, sizeof numero, "%02d", forma);
  a.texto(numero);
  a.z(valor, largura_valor);
  const auto colunas = static_cast<std::size_t>(ECFBMTC_num_col_ecf);
  std::size_t usado = 0;
  for (const char *t : {texto1, texto2}) {
    if (!t || !*t) continue;
    std::size_t largura = std::min(colunas, max_textos - usado);
    a.l(t, largura);
    usado += largura;
  }
  return a;
}

}  // namespace

extern "C" void BMTCLOCAL_armazena_fpagto_valor(const char *nome_forma, const char *valor) {
  if (!nome_forma || !*nome_forma || *nome_forma == ' ' || !valor || !*valor) return;
  // A second try: without the receipt number the record is lost for good.
  if ((ECFBMTC_exec(cmd::le_coo) != 0 && ECFBMTC_exec(cmd::le_coo) != 0) ||
      ECFIF_tam_resposta_ecf < 6)
    return;
  unsigned char &qtd = *ecf::nv::campo(ecf::nv::qtd_pagtos_vinculaveis);
  unsigned char *tabela = ecf::nv::campo(ecf::nv::pagtos_vinculaveis);
  while (qtd > max_pagtos - 1) {
    std::memmove(tabela, tabela + tam_pagto, tam_pagto * (max_pagtos - 1));
    --qtd;
  }
  unsigned char *reg = tabela + tam_pagto * qtd;
  std::memset(reg, 0, tam_pagto);
  char coo[7];
  ECFBMTCAUX_bcd_para_texto(coo, ECFIF_buffer_protocolo + 3, 3);
  std::memcpy(reg, coo, 6);
  std::string_view v = limitado(valor, largura_valor);
  std::memcpy(reg + 7, v.data(), v.size());
  Argumentos<16> nome;
  nome.l(nome_forma, 16);
  std::memcpy(reg + 22, nome.dados(), 16);
  ++qtd;
  ecf::nv::marca_alterado();
}

namespace {

// Whether this load of the driver has matched the record's paid sum with
// the printer's; a host restarted after a lost answer has only the record.
bool pago_conferido = false;
const ecf::core::Reinicio reinicio([] { pago_conferido = false; });

unsigned char *total_pago() {
  return ecf::nv::campo(ecf::nv::total_pago);
}

// The method (two digits) and the amount (14 digits) as sent.
int forma_enviada(const Incerto &i) {
  return (i.argumentos[0] - '0') * 10 + (i.argumentos[1] - '0');
}
void quantia_enviada(const Incerto &i, char (&quantia)[largura_valor + 1]) {
  std::memcpy(quantia, i.argumentos.data() + 2, largura_valor);
  quantia[largura_valor] = '\0';
}

void pagamento_aceito(const Incerto &i) {
  pago_conferido = true;
  char quantia[largura_valor + 1];
  quantia_enviada(i, quantia);
  soma_total_pago(quantia);
  const int forma = forma_enviada(i);
  if (forma != 1 && ECFBMTC_formas_pagto) {
    const char *nome =
        reinterpret_cast<const char *>(ECFBMTC_formas_pagto) + tam_forma * (forma - 1);
    char nome16[17] = {};
    std::memcpy(nome16, nome, strnlen(nome, 16));
    BMTCLOCAL_armazena_fpagto_valor(nome16, quantia);
  }
}

// The printer's paid sum (variable 22) against the record's before the
// payment: grown by the amount, the payment was taken.
Feito pagamento_feito(const Incerto &i) {
  if (ECFBMTC_le_parametro(var::fase_cupom) != 0) return Feito::nao_se_sabe;
  std::uint8_t bcd[7];
  ecf::core::resposta::copia_dados(bcd, 0, 7);
  char digitos[15];
  ECFBMTCAUX_bcd_para_asciiz(digitos, bcd, 7);
  unsigned char pago[8], quantia[8], esperado[8];
  _ato8(pago, digitos);
  char texto[largura_valor + 1];
  quantia_enviada(i, texto);
  _ato8(quantia, texto);
  _8soma(esperado, i.antes.data(), quantia);
  if (_8compara(pago, esperado) == 0) return Feito::sim;
  if (_8compara(pago, i.antes.data()) == 0) return Feito::nao;
  return Feito::nao_se_sabe;
}

Feito nao_se_sabe(const Incerto &) {
  return Feito::nao_se_sabe;
}

int fotografa_total_pago(Incerto &i) {
  std::memcpy(i.antes.data(), total_pago(), 8);
  return 0;
}

}  // namespace

extern "C" int ECFBMTC_pagamento(int forma, const char *valor, const char *texto1,
                                 const char *texto2) {
  registra(log_protocolo, "pagamento(%d,%s,%s,%s)...", forma, txt_vazio(valor), txt_vazio(texto1),
           txt_vazio(texto2));
  if (forma <= 0) return 2;
  // Beyond the method table, a wider method field or a longer amount field
  // the printer would read something else than the host asked for.
  if (forma > max_formas || !valor || std::strlen(valor) > largura_valor) return 2;
  int r = ECFBMTC_carrega_formas_pagto();
  if (r != 0) return r;
  unsigned char quantia[8];
  _ato8(quantia, valor);
  const bool sem_valor_cnf = valor8_zero(ecf::nv::campo(ecf::nv::valor_cnf));
  if (valor8_zero(quantia)) return sem_valor_cnf ? 0 : 2;
  if (estado_doc() == doc::nao_fiscal &&
      BMTCLOCAL_cnf_eh_simulado(ecf::nv::le_i32(ecf::nv::codigo_cnf))) {
    if (sem_valor_cnf) return 1;
    soma_total_pago(valor);
    ecf::nv::grava_i32(ecf::nv::forma_pagto_cnf, forma);
    ecf::nv::marca_alterado();
    return 0;
  }
  if ((texto1 || texto2) && ECFBMTC_num_col_ecf < 1) return 2;
  const auto chave =
      ecf::core::Chave(cmd::efetua_pagamento).com(forma).com(valor).com(texto1).com(texto2);
  if (ecf::core::assenta_pendente(chave.valor(), r)) return r;
  Incerto i;
  i.nome = "pagamento";
  i.chave = chave.valor();
  i.comando = cmd::efetua_pagamento;
  i.com_argumentos(argumentos_pagamento(forma, valor, texto1, texto2).vista());
  // A non-fiscal receipt shows no paid sum: its lost payment is never sent
  // again, only reported.
  i.feito = estado_doc() == doc::nao_fiscal ? nao_se_sabe : pagamento_feito;
  i.aceito = pagamento_aceito;
  i.fotografa = fotografa_total_pago;
  if (!pago_conferido && estado_doc() != doc::nao_fiscal) {
    // The printer's paid sum already grown by this amount: the payment the
    // host repeats after a restart was taken before it.
    fotografa_total_pago(i);
    const Feito f = pagamento_feito(i);
    if (f == Feito::sim) {
      pagamento_aceito(i);
      return tratado_como_ok("pagamento", 37);
    }
    if (f == Feito::nao) pago_conferido = true;
  }
  r = ecf::core::envia_conferindo(i);
  registra(log_protocolo, "pagamento()=%d.", r);
  if (r != 0 && ECFBMTCAUX_status_execucao == 23) {
    // The printer wants the totalling first.
    const int rt = ECFIF_imprime_total(nullptr);
    if (rt != 0) {
      registra(log_interface, "imprime_total()=%d{%u}", rt,
               static_cast<unsigned>(ECFBMTCAUX_status_execucao));
      return rt;
    }
    r = ecf::core::envia_conferindo(i);
    registra(log_protocolo, "reenviando: pagamento()=%d.", r);
  }
  return r;
}
