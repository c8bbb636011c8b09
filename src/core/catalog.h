// The printer's commands and variables by name, and the fixed tables that
// classify them. Operations write cmd::... and var::..., never bare numbers.
// Every classification lookup uses the command number the caller passed,
// before pseudo-commands are remapped.
#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace ecf::core {

// Commands. Numbers above 255 are pseudo-commands: 62 then a sub-command.
namespace cmd {
inline constexpr int abre_cupom = 0;
inline constexpr int reducao_z = 5;
inline constexpr int leitura_x = 6;
inline constexpr int leitura_mf = 8;  // fiscal-memory reading, streamed
inline constexpr int registra_item = 9;
inline constexpr int cancela_cupom = 14;
inline constexpr int autenticacao = 16;
inline constexpr int troca_verao = 18;  // daylight saving on if off, off if on
inline constexpr int le_status = 19;
inline constexpr int texto_relatorio = 20;  // free text into a report
inline constexpr int fecha_relatorio = 21;  // ends a report or a linked receipt
inline constexpr int abre_gaveta = 22;
inline constexpr int le_sensor_gaveta = 23;
inline constexpr int comprovante_nao_fiscal = 25;  // a whole simulated receipt
inline constexpr int le_aliquotas = 26;
inline constexpr int le_totalizadores = 27;
inline constexpr int le_limite_fase = 29;  // compared with variable 22
inline constexpr int le_coo = 30;
inline constexpr int cancela_item = 31;
inline constexpr int ajusta_subtotal = 32;  // discount, surcharge, totalling start
inline constexpr int fecha_cupom = 34;
inline constexpr int le_variavel = 35;
inline constexpr int registra_item_3casas = 56;
inline constexpr int cheque = 57;
inline constexpr int moeda_singular = 58;  // currency names of the cheque
inline constexpr int moeda_plural = 59;
inline constexpr int registra_item_unidade = 63;
inline constexpr int abre_vinculado = 66;
inline constexpr int texto_vinculado = 67;  // free text into a linked receipt
inline constexpr int leitura_lx = 69;       // Reading X, streamed
inline constexpr int programa_fpag = 71;
inline constexpr int efetua_pagamento = 72;
inline constexpr int le_cmc7 = 76;
inline constexpr int abre_cnf = 77;
inline constexpr int registra_cnf = 78;
inline constexpr int totaliza_cnf = 79;
inline constexpr int cancela_cnf = 81;
inline constexpr int abre_relatorio = 83;
inline constexpr int segunda_via_vinculado = 91;
inline constexpr int reimpressao_vinculado = 92;
inline constexpr int dados_reducao = 88;
inline constexpr int ajusta_item = 93;
inline constexpr int le_totais_dia = 87;
inline constexpr int le_dados_reducao = 88;
inline constexpr int cancela_ajuste_item = 114;
inline constexpr int sensor_documento = 6248;  // the document slot's status byte
inline constexpr int libera_documento = 6249;
inline constexpr int descricao_longa = 6252;
inline constexpr int modo_linha_item = 6260;
inline constexpr int le_dados_reducao_antiga = 6255;  // older printers
inline constexpr int id_aplicacao = 6264;
inline constexpr int registra_venda_item = 6273;
inline constexpr int registra_venda_item_modo = 6287;
}  // namespace cmd

// Printer variables, read with command 35 (ECFBMTC_le_parametro).
namespace var {
inline constexpr unsigned char serie = 0;
inline constexpr unsigned char versao = 1;
inline constexpr unsigned char cgc_ie = 2;   // taxpayer and state registration
inline constexpr unsigned char total_3 = 3;  // the act file's 18-digit total
inline constexpr unsigned char cancelamentos = 4;
inline constexpr unsigned char descontos = 5;
inline constexpr unsigned char coo = 6;
inline constexpr unsigned char gnf = 7;
inline constexpr unsigned char cupons_cancelados = 8;
inline constexpr unsigned char crz = 9;
inline constexpr unsigned char cro = 10;
inline constexpr unsigned char alteracoes_cgc = 11;
inline constexpr unsigned char cabecalho = 13;
inline constexpr unsigned char fabricacao = 14;
inline constexpr unsigned char codigo_16 = 16;
// Document flags: bit 0 fiscal receipt open, bit 1 its totalling begun,
// bit 2 daylight saving time in effect, bit 3 another document open.
inline constexpr unsigned char flags_documento = 17;
inline constexpr unsigned char bit_verao = 0x04;
inline constexpr unsigned char sensor = 20;  // AAh: sensor on
inline constexpr unsigned char fase_cupom = 22;
inline constexpr unsigned char relogio = 23;  // BCD day, month, year, hour, minute, second
inline constexpr unsigned char totais_dia = 27;
inline constexpr unsigned char data_movimento = 27;  // the day of the first movement
inline constexpr unsigned char multiplicacao = 28;
inline constexpr unsigned char flags_iss = 29;
inline constexpr unsigned char acrescimos = 30;
inline constexpr unsigned char contador_31 = 31;
inline constexpr unsigned char fpag = 32;
inline constexpr unsigned char cnf = 33;
inline constexpr unsigned char serie_mfd = 40;
inline constexpr unsigned char versao_mfd = 41;
inline constexpr unsigned char cgc_mfd = 42;
inline constexpr unsigned char ie_mfd = 43;
inline constexpr unsigned char fpag_mfd = 49;
inline constexpr unsigned char cnf_mfd = 50;
inline constexpr unsigned char cdc = 52;
inline constexpr unsigned char grg = 54;
inline constexpr unsigned char ccf = 55;
inline constexpr unsigned char contador_56 = 56;
inline constexpr unsigned char texto_58 = 58;
inline constexpr unsigned char reducoes_restantes = 59;
inline constexpr unsigned char identificacao_mfd = 60;
inline constexpr unsigned char uso_mfd = 61;  // "uu,uu%" of the detail-tape memory used
}  // namespace var

inline constexpr std::array<int, 13> comandos_sem_descarga{0,  19, 23, 26, 27, 29, 30,
                                                           34, 35, 71, 76, 87, 88};

inline constexpr std::array<int, 2> comandos_resposta_longa{8, 69};

inline constexpr std::array<int, 12> comandos_argumento_literal{22, 32,  35,   39,   57,   60,
                                                                61, 167, 6260, 6264, 6273, 6287};

// Printers send the data of 62/48, 62/54 and 62/55 before the status bytes
// too, like every other answer with data.
inline constexpr std::array<int, 13> comandos_status_apos_dados{23, 26, 27, 29,   30,   35,  71,
                                                                76, 87, 88, 6248, 6254, 6255};

inline constexpr std::array<std::pair<int, int>, 15> tamanhos_resposta{{
    {8, 1925},
    {23, 1},
    {26, 33},
    {27, 219},
    {29, 7},
    {30, 3},
    {35, 1925},
    {69, 1925},
    {71, 2},
    {76, 39},
    {87, 436},
    {88, 621},
    {6248, 1},
    {6254, 2},
    {6255, 308},
}};

// Printer variable number -> data bytes of its command 35 answer.
inline constexpr std::array<std::pair<int, int>, 71> tamanhos_parametro{{
    {0, 15},    {1, 2},     {2, 33},   {3, 9},    {4, 7},    {5, 7},    {6, 3},    {7, 3},
    {8, 2},     {9, 2},     {10, 2},   {11, 2},   {12, 2},   {13, 186}, {14, 2},   {15, 2},
    {16, 2},    {17, 1},    {18, 2},   {19, 2},   {20, 1},   {21, 1},   {22, 7},   {23, 6},
    {24, 9},    {25, 171},  {26, 6},   {27, 3},   {28, 1},   {29, 2},   {30, 7},   {31, 3},
    {32, 1925}, {33, 1550}, {34, 600}, {40, 20},  {41, 3},   {42, 20},  {43, 20},  {44, 20},
    {45, 2},    {46, 2},    {47, 60},  {48, 570}, {49, 620}, {50, 780}, {51, 570}, {52, 2},
    {53, 2},    {54, 3},    {55, 3},   {56, 3},   {57, 2},   {58, 20},  {59, 2},   {60, 42},
    {61, 6},    {62, 10},   {63, 10},  {64, 6},   {65, 1},   {66, 7},   {67, 3},   {68, 9},
    {70, 2},    {71, 2},    {72, 6},   {73, 18},  {74, 1},   {75, 1},   {253, 3},
}};

// Pseudo-command -> wire code (62 * 256 + sub-command).
inline constexpr std::array<std::pair<int, int>, 11> comandos_estendidos{{
    {6248, 15920},
    {6249, 15921},
    {6250, 15922},
    {6251, 15923},
    {6252, 15924},
    {6254, 15926},
    {6255, 15927},
    {6260, 15932},
    {6264, 15936},
    {6273, 15945},
    {6287, 15959},
}};

template <std::size_t N>
constexpr bool in_table(const std::array<int, N> &table, int cmd) {
  return std::find(table.begin(), table.end(), cmd) != table.end();
}

template <std::size_t N>
constexpr std::optional<int> look_up(const std::array<std::pair<int, int>, N> &table, int key) {
  for (const auto &[k, v] : table)
    if (k == key) return v;
  return std::nullopt;
}

static_assert(look_up(comandos_estendidos, 6260) == 62 * 256 + 60);
static_assert(look_up(tamanhos_parametro, 253) == 3);
static_assert(!look_up(tamanhos_parametro, 36));

static_assert(look_up(tamanhos_parametro, var::flags_documento) == 1);
static_assert(look_up(comandos_estendidos, cmd::registra_venda_item_modo));

}  // namespace ecf::core
