// Item registration: the four entry points and the three command builders
// (classic 9/56, item with unit 63, extended 6273/6287).
#include "core/reset.h"
#include "receipt/common.h"
#include "receipt/item_description.h"

using namespace ecf::receipt;

namespace {

// Width of the first printed line of a description; set by the classic
// builder and kept for the others.
int largura_primeira_linha = 0;
const ecf::core::Reinicio reinicio([] { largura_primeira_linha = 0; });

struct Item {
  const char *codigo;
  const char *descricao;
  const char *aliquota;
  const char *quantidade;
  const char *preco;
  const char *desconto;
  const char *unidade;  // as given by the host (only the unit entry point has one)
  bool tres_casas;
  bool usa_unidade_dada;  // the unit goes to the printer
};

void esvazia_descritivo() {
  ECFBMTCAUX_limpa_linhas(descritivo(), slots_descritivo);
}

std::uint64_t chave_do_item(const Item &it) {
  return ecf::core::Chave(cmd::registra_item)
      .com(it.codigo)
      .com(it.descricao)
      .com(it.aliquota)
      .com(it.quantidade)
      .com(it.preco)
      .com(it.desconto)
      .com(it.unidade)
      .com(it.tres_casas)
      .com(it.usa_unidade_dada)
      .valor();
}

// Sends the long description (when there is one) and the item, with the
// subtotal read first so that a lost answer can be settled.
int envia_item(const Item &it, int comando, std::string_view argumentos,
               std::string_view longa = {}) {
  Incerto i;
  i.nome = "registra_item";
  i.chave = chave_do_item(it);
  i.comando = comando;
  i.com_argumentos(argumentos);
  if (!longa.empty()) i.com_preludio(cmd::descricao_longa, longa);
  // Every item changes the subtotal; unchanged, the printer did not take it.
  i.feito = [](const Incerto &e) {
    return ecf::core::figura_mudou(cmd::le_limite_fase, bytes_subtotal, e.antes);
  };
  // The stored lines go with this item, whether or not the printer takes it.
  i.ao_enviar = [](const Incerto &) { esvazia_descritivo(); };
  i.fotografa = [](Incerto &e) {
    return ecf::core::le_figura(cmd::le_limite_fase, bytes_subtotal, e.antes);
  };
  return ecf::core::envia_conferindo(i);
}

int item_classico(const Item &it) {
  int comando = it.tres_casas ? cmd::registra_item_3casas : cmd::registra_item;
  int r;
  if (ECFBMTC_num_col_ecf < 1) {
    r = 2;
  } else {
    largura_primeira_linha = ecf::core::largura_primeira_linha_item();
    Descricao d(it.descricao, largura_primeira_linha, ECFBMTC_num_col_ecf);
    Argumentos<68> a;
    std::size_t largura_codigo = ecf::core::largura_codigo_item();
    if (ECFBMTCAUX_codigo_cbranco)
      a.l(it.codigo, largura_codigo);
    else
      a.z(it.codigo, largura_codigo);
    a.l(d.texto(), 29);
    a.l(it.aliquota, 2);
    a.z(it.quantidade, 7);
    a.z(it.preco, 8);
    a.z(it.desconto, 8);
    const bool longa = d.texto().size() > static_cast<std::size_t>(largura_primeira_linha);
    r = envia_item(it, comando, a.vista(), longa ? d.texto() : std::string_view());
  }
  registra(log_interface, "registra_item(%d,%s,%s,%s,%s,%s,%s,%s)=%d.", comando, txt(it.codigo),
           txt(it.descricao), txt(it.aliquota), txt(it.quantidade), txt(it.preco), txt(it.desconto),
           txt(it.unidade), r);
  return r;
}

// The unit price field holds three decimals; a two-decimal price gets a
// trailing zero so both land on the same scale.
template <std::size_t N>
void preco_unitario(Argumentos<N> &a, const Item &it, int largura) {
  if (it.tres_casas) {
    a.z(it.preco, largura);
  } else {
    a.z(it.preco, largura - 1);
    a.byte('0');
  }
}

std::array<char, 2> unidade_enviada(const Item &it) {
  return unidade_do_item(it.usa_unidade_dada ? it.unidade : nullptr);
}

int item_com_unidade(const Item &it) {
  int r;
  if (ECFBMTC_num_col_ecf < 1) {
    r = 2;
  } else {
    Descricao d(it.descricao, largura_primeira_linha, ECFBMTC_num_col_ecf);
    Argumentos<78 + max_descricao> a;
    a.l(it.aliquota, 2);
    preco_unitario(a, it, 9);
    a.z(it.quantidade, 7);
    a.z(it.desconto, 10);
    a.z(nullptr, 10);
    a.repete(' ', 21);
    a.byte('0');
    std::array<char, 2> u = unidade_enviada(it);
    a.texto({u.data(), u.size()});
    a.z(it.codigo, 14);
    a.byte(0);
    a.texto(d.texto());
    a.byte(0);
    r = envia_item(it, cmd::registra_item_unidade, a.vista());
  }
  registra(log_interface, "registra_item_com_unidade(%s,%s,%s,%s,%s,%s,%s,%s,%d)=%d.",
           txt(it.codigo), txt(it.descricao), txt(it.aliquota), txt(it.quantidade), txt(it.preco),
           txt(it.desconto), "(null)", txt(it.unidade), it.tres_casas ? 1 : 0, r);
  return r;
}

int item_estendido(const Item &it, bool com_modo) {
  int r;
  if (ECFBMTC_num_col_ecf < 1) {
    r = 2;
  } else {
    Descricao d(it.descricao, largura_primeira_linha, ECFBMTC_num_col_ecf);
    Argumentos<53 + max_descricao> a;
    a.z(it.codigo, 14);
    a.r(it.aliquota, 2);
    std::array<char, 2> u = unidade_enviada(it);
    a.texto({u.data(), u.size()});
    if (com_modo)
      a.byte((ECFBMTCAUX_forca_multiplicacao == 2 || ECFBMTCAUX_forca_multiplicacao == 3) ? 'A'
                                                                                          : 'T');
    a.z(it.quantidade, 7);
    preco_unitario(a, it, 8);
    a.z(it.desconto, 8);
    a.byte(0);
    a.z(nullptr, 8);
    a.byte(0);
    a.texto(d.texto());
    a.byte(0);
    r = envia_item(it, com_modo ? cmd::registra_venda_item_modo : cmd::registra_venda_item,
                   a.vista());
  }
  registra(log_interface, "registra_venda_de_item(%s,%s,%s,%s,%s,%s,%s,%s,%d,%d)=%d.",
           txt(it.codigo), txt(it.aliquota), txt(it.unidade), txt(it.quantidade), txt(it.preco),
           txt(it.desconto), "(null)", txt(it.descricao), it.tres_casas ? 1 : 0, com_modo ? 1 : 0,
           r);
  return r;
}

int registra_por_modelo(const Item &it) {
  // Without a unit price the printer would be sent a price of zero.
  if (!it.preco) return 2;
  if (const int r = garante_configuracao(); r != 0) return r;
  // The same item again after a lost answer: settled, never sent twice. Its
  // description lines, given again, belong to it.
  if (int r = 0; ecf::core::assenta_pendente(chave_do_item(it), r)) {
    esvazia_descritivo();
    return r;
  }
  switch (ecf::core::caminho_item()) {
    case ecf::core::CaminhoItem::estendido:
      return item_estendido(it, true);
    case ecf::core::CaminhoItem::estendido_opcional:
      if (ECFBMTC_flags & (4 | 8)) return item_estendido(it, (ECFBMTC_flags & 8) != 0);
      return item_classico(it);
    case ecf::core::CaminhoItem::classico:
      break;
  }
  if (ECFBMTC_flags & 16) return item_com_unidade(it);
  return item_classico(it);
}

}  // namespace

extern "C" int ECFBMTC_registra_item(const char *codigo, const char *descricao,
                                     const char *aliquota, const char *quantidade,
                                     const char *preco) {
  return registra_por_modelo(
      Item{codigo, descricao, aliquota, quantidade, preco, nullptr, nullptr, false, false});
}

extern "C" int ECFBMTC_registra_item_desc(const char *codigo, const char *descricao,
                                          const char *aliquota, const char *quantidade,
                                          const char *preco, const char *desconto) {
  return registra_por_modelo(
      Item{codigo, descricao, aliquota, quantidade, preco, desconto, nullptr, false, false});
}

extern "C" int ECFBMTC_registra_item_3casas(const char *codigo, const char *descricao,
                                            const char *aliquota, const char *quantidade,
                                            const char *preco, const char *desconto) {
  return registra_por_modelo(
      Item{codigo, descricao, aliquota, quantidade, preco, desconto, nullptr, true, false});
}

extern "C" int ECFBMTC_registra_item_und(const char *codigo, const char *descricao,
                                         const char *aliquota, const char *quantidade,
                                         const char *preco, const char *unidade) {
  return registra_por_modelo(
      Item{codigo, descricao, aliquota, quantidade, preco, nullptr, unidade, false, true});
}
