// Cancelling an item, the open receipt or the previous one.
#include <cstdio>

#include "receipt/common.h"

using namespace ecf::receipt;

extern "C" int ECFBMTC_canc_item(unsigned item) {
  char numero[5];
  std::snprintf(numero, sizeof numero, "%04u", item % 10000u);
  Argumentos<4> a;
  a.texto(numero);
  return envia(cmd::cancela_item, a);
}

extern "C" int ECFIF_canc_it_posic(unsigned item) {
  registra(log_interface, "canc_it_posic(%u)", item);
  return ECFBMTC_canc_item(item);
}

namespace {

// The open receipt cancelled leaves none open; the previous one cancelled
// can no longer be cancelled.
Feito cancelamento_feito(const Incerto &i) {
  if (ECFBMTC_le_parametro(var::flags_documento) != 0) return Feito::nao_se_sabe;
  const unsigned char flags = ecf::core::resposta::dado(0);
  const unsigned char ainda = i.extra == doc::cupom_fiscal ? 1 : 32;
  return (flags & ainda) ? Feito::nao : Feito::sim;
}

}  // namespace

extern "C" int ECFBMTC_cancela_cupom(const char *f1, const char *f2, const char *f3) {
  unsigned char bloco[140];
  int n = eh_mfd() ? BMTCLOCAL_formata_dados_cliente(bloco, f1, f2, f3) : 0;
  const auto chave = ecf::core::Chave(cmd::cancela_cupom).com(f1).com(f2).com(f3).valor();
  int r = 0;
  if (ecf::core::assenta_pendente(chave, r)) return r;
  Incerto i;
  i.nome = "cancela_cupom";
  i.chave = chave;
  i.comando = cmd::cancela_cupom;
  i.com_argumentos({reinterpret_cast<const char *>(bloco), static_cast<std::size_t>(n)});
  i.feito = cancelamento_feito;
  i.aceito = [](const Incerto &) { muda_estado_doc(doc::nenhum); };
  i.extra = estado_doc();
  return ecf::core::envia_conferindo(i);
}

extern "C" int ECFIF_canc_cupom(void) {
  registra(log_interface, "canc_cupom()");
  return ECFBMTC_cancela_cupom(nullptr, nullptr, nullptr);
}

extern "C" int ECFIF_canc_anterior(void) {
  registra(log_interface, "canc_anterior()");
  return ECFBMTC_cancela_cupom(nullptr, nullptr, nullptr);
}

extern "C" int ECFIF_pode_canc_anterior(void) {
  registra(log_interface, "pode_canc_anterior()");
  int r = ECFBMTC_le_parametro(var::flags_documento);
  if (r != 0) return r;
  return (ECFIF_buffer_protocolo[3] & 32) ? 0 : 1;
}

extern "C" int ECFIF_cancela(const char *texto) {
  registra(log_interface, "cancela(%s)", txt(texto));
  return 15;
}

extern "C" int ECFIF_cabecalho(void) {
  registra(log_interface, "cabecalho()");
  return 0;
}
