// One whole sale as the host's steps, each a call of the driver's C
// interface, for the transcript and the fault tests.
#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "driver_test.h"
#include "ecfbmtc.h"

namespace ecftest {

struct SaleStep {
  std::string_view name;
  std::function<int()> call;
  int repeat = 0;  // what ECFBMTCAUX_o_que_repetir names when the step fails; 0: not kept
};

inline const std::array<SaleStep, 14> &whole_sale() {
  static const std::array<SaleStep, 14> steps{{
      {"identify", [] { return ECFIF_pega_configuracao(); }},
      {"application", [] { return ECFIF_id_aplicacao("PDV Teste 1.0"); }},
      {"consumer", [] { return ECFIF_identifica_consumidor(1, "12345678909"); }},
      {"open", [] { return ECFIF_inicio_venda(); }, 10},
      {"item 1", [] { return ECFBMTC_registra_item("1001", "Cafe torrado", "01", "1000", "250"); }},
      {"item 2 lines",
       [] {
         ECFIF_descritivo(0, "Lote 42");
         return ECFBMTC_registra_item_desc("1002", "Acucar cristal refinado especial 5 kg", "02",
                                           "2000", "1000", "0");
       }},
      {"item 3 weight",
       [] { return ECFBMTC_registra_item_und("1003", "Feijao", "01", "500", "1200", "KG"); }},
      {"discount", [] { return ECFIF_desconto_subtot("100"); }},
      {"total", [] { return ECFIF_imprime_total(nullptr); }, 13},
      {"cash", [] { return ECFBMTC_pagamento(1, "1000", "", ""); }},
      {"card", [] { return ECFBMTC_pagamento(3, "1750", "Autorizacao 998877", ""); }},
      {"promo 1", [] { return ECFIF_publicit(0, "Obrigado pela preferencia"); }},
      {"promo 2", [] { return ECFIF_publicit(1, "Volte sempre"); }},
      {"close", [] { return ECFIF_fim_venda(); }, 7},
  }};
  return steps;
}

}  // namespace ecftest
