// Receipt operations one at a time in a receipt with one item on the emulated printer: what each
// sends (or why it sends nothing), its result, and a refusal of one command on the way.
#include <gtest/gtest.h>

#include "core/states.h"
#include "emulated_printer.h"
#include "sale/sale_steps.h"

namespace ecftest {
namespace {

struct Request {
  int model;
  std::function<int()> call;
  int result;
  std::string sent;  // "command:arguments" of each command after the item, unprintable as <XX>
  int refused = -1;  // a command the printer refuses
};

std::string shown(int c, std::string_view a) {
  std::string s = (c >= 62 * 256 ? "62/" + std::to_string(c % 256) : std::to_string(c)) + ':';
  for (char b : a)
    s += b >= ' ' && b < 127 ? std::string(1, b) : "<" + std::to_string(b & 255) + ">";
  return s + ' ';
}

int flags(int f) {
  ECFBMTC_flags = f;
  return 0;
}
int blank_code() {
  ECFBMTCAUX_codigo_cbranco = 1;
  return 0;
}
int total_and_repeat() {
  return ECFIF_imprime_total(nullptr) * 100 + ECFBMTCAUX_o_que_repetir;
}
// Entry points that only log: 15 for what the printer lacks, 0 for the rest.
int only_logged() {
  return ECFIF_cancela("x") + ECFIF_canc_desconto("x") + ECFIF_cabecalho() +
         ECFIF_guarda_subtotal("1") + ECFIF_troco("1") + ECFIF_consiste_linha("x") +
         ECFIF_linha_marcacao(1) + ECFIF_identifica_consumidor(0, nullptr) +
         ECFIF_pode_acres_item();
}
int pay(int method, const char *amount) {
  return ECFBMTC_pagamento(method, amount, "", "");
}
// The driver believes a non-fiscal receipt open, with this totalizer and value.
int in_cnf(unsigned char code, unsigned char value) {
  BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC] = 3;
  BMTCLOCAL_d[BMTCLOCAL_D_CODIGO_CNF] = code;
  BMTCLOCAL_d[BMTCLOCAL_D_VALOR_CNF] = value;
  return 0;
}

class Operations : public PrinterTest, public ::testing::WithParamInterface<Request> {};

TEST_P(Operations, SendsItsCommandOrRefusesToSend) {
  const Request &q = GetParam();
  EmulatedPrinter &p = connect(q.model);
  ASSERT_EQ(ECFIF_inicio_venda(), 0);
  ASSERT_EQ(ECFBMTC_registra_item("1", "Cafe", "01", "1000", "500"), 0);
  p.clear_sent();
  p.refuse(q.refused);
  EXPECT_EQ(q.call(), q.result);
  std::string sent;
  for (std::size_t i = 0; i < p.commands.size(); ++i) sent += shown(p.commands[i], p.arguments[i]);
  EXPECT_EQ(sent, q.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Receipt, Operations,
    ::testing::Values(
        Request{12, [] { return ECFBMTC_desc_subtot("150"); }, 0, "32:d00000000000150 "},
        Request{12, [] { return ECFBMTC_desc_subtot_perc("12345"); }, 0, "32:D1234 "},
        Request{12, [] { return ECFIF_acresc_subtot("12 3"); }, 0, "32:a00000000001203 "},
        Request{12, [] { return ECFBMTC_acres_subtot_perc("5"); }, 0, "32:A0005 "},
        Request{12, [] { return ECFBMTC_desc_subtot(nullptr); }, 2, ""},
        Request{12, [] { return ECFBMTC_desc_item(1, "0000000050"); }, 0, "93:D00100000050 "},
        Request{12, [] { return ECFIF_acresc_item_pos(1, "50"); }, 0, "93:A00100000050 "},
        Request{12, [] { return ECFIF_desc_item_pos(1000, "5"); }, 2, ""},
        Request{12, [] { return ECFIF_desc_item_pos(1, "5") + ECFBMTC_cancela_desconto(1); }, 0,
                "93:D00100000005 114:D001 "},
        Request{12, [] { return ECFBMTC_cancela_acrescimo(1000); }, 2, ""},
        Request{1, [] { return ECFIF_desc_item_pos(1, "5"); }, 15, ""},
        Request{1, [] { return ECFBMTC_cancela_acrescimo(1); }, 15, ""},
        Request{1, [] { return ECFIF_pode_desc_item() + 2 * ECFIF_suporta_desc_item_pos(); }, 1,
                ""},
        Request{12, [] { return ECFIF_canc_it_posic(10001); }, 0, "31:0001 "},
        Request{12, [] { return ECFIF_canc_cupom() + BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC]; }, 0,
                "14: "},
        Request{1, [] { return ECFIF_canc_anterior(); }, 0, "14: "},
        Request{12, [] { return ECFBMTC_cancela_cupom("123", "Ana", "Rua 1"); }, 0,
                "14:123" + std::string(26, ' ') + "Ana" + std::string(27, ' ') + "Rua 1" +
                    std::string(75, ' ') + " "},
        Request{12, [] { return ECFIF_pode_canc_anterior(); }, 1, "35:<17> "},
        Request{12, [] { return ECFIF_pode_canc_anterior(); }, 34,
                "35:<17> 35:<17> 35:<17> 35:<17> 35:<17> ", 35},
        Request{12, total_and_repeat, 3413, "35:<17> 32:D0000 ", 32},
        Request{12, total_and_repeat, 3413, "35:<17> 35:<17> 35:<17> 35:<17> 35:<17> ", 35},
        Request{12, [] { return ECFIF_imprime_total(nullptr) + ECFIF_imprime_total(nullptr); }, 0,
                "35:<17> 32:D0000 35:<17> "},
        Request{12, only_logged, 30, ""},
        Request{
            7, [] { return flags(4) + ECFBMTC_registra_item("2", "Po", "01", "1000", "500"); }, 0,
            "29: 62/73:0000000000000201UN00010000000500000000000<0>00000000<0>Po                   "
            "        <0> "},
        Request{7, [] { return ECFBMTC_registra_item_3casas("2", "Po", "01", "1000", "500", "0"); },
                0, "29: 56:00000000000002Po                           0100010000000050000000000 "},
        Request{1,
                [] {
                  return flags(16) +
                         ECFBMTC_registra_item_3casas("2", "Po", "01", "1000", "500", "0");
                },
                0,
                "29: 63:01000000500000100000000000000000000000                     "
                "0UN00000000000002<0>Po                           <0> "},
        Request{
            1,
            [] {
              return blank_code() +
                     ECFBMTC_registra_item("2", "Descricao de mais de vinte e nove letras", "01",
                                           "1000", "500");
            },
            0,
            "29: 62/52:Descricao de mais de vinte e nove letras                                    "
            "  9:2            Descricao de mais de vinte e 0100010000000050000000000 "},
        Request{12, [] { return ECFBMTC_registra_item("2", "Po", "01", "1000", nullptr); }, 2, ""},
        Request{12, [] { return pay(0, "1") + pay(51, "1") + pay(1, "123456789012345"); }, 6, ""},
        Request{12, [] { return ECFBMTC_pagamento(1, "0", "", ""); }, 0, "35:1 "},
        Request{1, [] { return in_cnf(0, 0) + pay(2, "500"); }, 1, "35:  "},
        Request{1,
                [] {
                  return in_cnf(0, 1) + pay(2, "500") * 10 +
                         BMTCLOCAL_d[BMTCLOCAL_D_FORMA_PAGTO_CNF];
                },
                2, "35:  "},
        Request{12, [] { return ECFIF_canc_cupom() + in_cnf(1, 1) + total_and_repeat(); }, 3413,
                "14: 35:<17> 79:d00000000000000 "},
        Request{12, [] { return ecf::core::operacao_a_repetir(13)(); }, 0, "35:<17> 32:D0000 "},
        Request{12, [] { return ECFIF_inic_venda_txt("x"); }, 34, "0: 35:<17> 29: "},
        Request{12, [] { return ECFIF_suporta_id_consumidor(); }, 1, ""},
        Request{12, [] { return ECFIF_imprime_expandido(nullptr) + ECFIF_imprime_expandido("x"); },
                2, ""},
        Request{12, [] { return ECFIF_id_aplicacao("A") + ECFIF_id_aplicacao("B"); }, 0,
                "62/64:A" + std::string(83, ' ') + " "},
        Request{12, [] { return ECFIF_publicit(1, "x") + ECFIF_publicit(0, "") + BMTCLOCAL_d[50]; },
                0, ""},
        Request{12, [] { return ECFBMTC_programa_forma_pagamento(" Vale"); }, 0,
                "71:.Vale            "}));

}  // namespace
}  // namespace ecftest
