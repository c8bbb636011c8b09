// Discounts and surcharges on the subtotal and on single items, and taking
// an item's discount or surcharge back.
#include <cstdio>

#include "receipt/common.h"

using namespace ecf::receipt;

namespace {

// The subtotal discount or surcharge begins the totalling: begun, the
// printer took it.
Feito ajuste_feito(const Incerto &) {
  if (ECFBMTC_le_parametro(var::flags_documento) != 0) return Feito::nao_se_sabe;
  return (ecf::core::resposta::dado(0) & 2) ? Feito::sim : Feito::nao;
}

// Command 32: a letter, then the value right-justified in `largura` with
// every blank of the field turned into "0".
int ajuste_subtotal(char letra, const char *valor, std::size_t largura, const char *nome) {
  int r;
  if (!valor) {
    r = 2;
  } else {
    Argumentos<15> a;
    a.byte(static_cast<unsigned char>(letra));
    std::string_view s = limitado(valor, largura);
    for (std::size_t i = s.size(); i < largura; ++i) a.byte('0');
    for (char c : s) a.byte(c == ' ' ? '0' : static_cast<unsigned char>(c));
    const auto chave = ecf::core::Chave(cmd::ajusta_subtotal).com(letra).com(valor).valor();
    if (!ecf::core::assenta_pendente(chave, r)) {
      Incerto i;
      i.nome = nome;
      i.chave = chave;
      i.comando = cmd::ajusta_subtotal;
      i.com_argumentos(a.vista());
      i.feito = ajuste_feito;
      r = ecf::core::envia_conferindo(i);
    }
  }
  registra(log_interface, "%s(%s)=%d.", nome, txt(valor), r);
  return r;
}

// Command 93: "D" or "A", the item as three digits, the value in eight.
int ajuste_item(char letra, int item, const char *valor, const char *nome) {
  if (!eh_mfd()) return 15;
  if (item < 1 || item > 999 || !valor) return 2;
  Argumentos<12> a;
  a.byte(static_cast<unsigned char>(letra));
  char numero[4];
  std::snprintf(numero, sizeof numero, "%03d", item);
  a.texto(numero);
  a.z(valor, 8);
  int r = envia(cmd::ajusta_item, a);
  registra(log_protocolo, "%s(%d:%s)=%d.", nome, item, valor, r);
  return r;
}

// Command 114: "D" or "A" and the item as three digits.
int cancela_ajuste_item(char letra, unsigned item) {
  if (!eh_mfd()) return 15;
  int n = static_cast<int>(item);
  if (n < 0 || n > 999) return 2;
  Argumentos<4> a;
  a.byte(static_cast<unsigned char>(letra));
  char numero[4];
  std::snprintf(numero, sizeof numero, "%03d", n);
  a.texto(numero);
  return envia(cmd::cancela_ajuste_item, a);
}

}  // namespace

extern "C" int ECFBMTC_desc_subtot(const char *valor) {
  return ajuste_subtotal('d', valor, 14, "desc_subtot");
}
extern "C" int ECFIF_desconto_subtot(const char *valor) {
  return ECFBMTC_desc_subtot(valor);
}
extern "C" int ECFBMTC_desc_subtot_perc(const char *percentual) {
  return ajuste_subtotal('D', percentual, 4, "desc_subtot_perc");
}
extern "C" int ECFIF_acresc_subtot(const char *valor) {
  return ajuste_subtotal('a', valor, 14, "acresc_subtot");
}
extern "C" int ECFBMTC_acres_subtot_perc(const char *percentual) {
  return ajuste_subtotal('A', percentual, 4, "acres_subtot_perc");
}

extern "C" int ECFIF_desc_item_pos(int item, const char *valor) {
  return ajuste_item('D', item, valor, "desc_item_pos");
}
extern "C" int ECFBMTC_desc_item(int item, const char *valor) {
  return ECFIF_desc_item_pos(item, valor);
}
extern "C" int ECFIF_acresc_item_pos(int item, const char *valor) {
  return ajuste_item('A', item, valor, "acresc_item_pos");
}

extern "C" int ECFBMTC_cancela_desconto(unsigned item) {
  registra(log_interface, "cancela_desconto(%u)", item);
  return cancela_ajuste_item('D', item);
}
extern "C" int ECFBMTC_cancela_acrescimo(unsigned item) {
  registra(log_interface, "cancela_acrescimo(%u)", item);
  return cancela_ajuste_item('A', item);
}

extern "C" int ECFIF_pode_desc_item(void) {
  registra(log_interface, "pode_desc_item()");
  return eh_mfd() ? 0 : 1;
}
extern "C" int ECFIF_pode_acres_item(void) {
  registra(log_interface, "pode_acres_item()");
  return eh_mfd() ? 0 : 1;
}
extern "C" int ECFIF_suporta_desc_item_pos(void) {
  registra(log_interface, "suporta_desc_item_pos()");
  return eh_mfd() ? 1 : 0;
}
extern "C" int ECFIF_canc_desconto(const char *texto) {
  registra(log_interface, "canc_desconto(%s)", txt(texto));
  return 15;
}
