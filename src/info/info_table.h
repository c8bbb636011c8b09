// The information codes: for each, where its answer comes from on each
// printer generation and how it is written.
#pragma once

#include <array>
#include <string_view>

#include "core/catalog.h"

namespace ecf::info {

namespace cmd = core::cmd;
namespace var = core::var;

struct TextoLimitado;

enum class Origem : unsigned char {
  nenhuma,   // this generation does not answer the code (15)
  fixo,      // a fixed text
  variavel,  // a printer variable (command 35)
  comando,   // a command without arguments, tried up to five times
  driver,    // the driver's own record, cache or model tables
};

enum class Forma : unsigned char {
  texto,    // the fixed text as it stands
  digitos,  // packed digits of `tam` bytes from `pos`, every digit kept
  bytes,    // `tam` bytes from `pos` as they are (a zero byte ends the text)
  soma,     // the sum of `tam` 7-byte totals from `pos` and `tam2` from `pos2`
};

struct Leitura {
  Origem origem = Origem::nenhuma;
  int numero = 0;  // variable or command
  Forma forma = Forma::texto;
  int pos = 0;  // data byte (after ACK, ST1, ST2)
  int tam = 0;
  int pos2 = 0;
  int tam2 = 0;
  std::string_view fixo{};
};

using Resposta = int (*)(const Leitura &, TextoLimitado &);

struct Regra {
  int codigo;
  Leitura mfd;
  Leitura antiga;
  Resposta resposta;
  // The answer depends on the model or generation, so the configuration is
  // learnt first.
  bool pede_modelo = true;
};

// The answer of a read or fixed text, as its Leitura says.
int responde_leitura(const Leitura &l, TextoLimitado &t);

// Answers built by the driver from several sources.
int valor_documento(const Leitura &, TextoLimitado &t);    // 1
int total_pago(const Leitura &, TextoLimitado &t);         // 2
int falta_pagar(const Leitura &, TextoLimitado &t);        // 3
int grande_total(const Leitura &, TextoLimitado &t);       // 21
int venda_do_dia(const Leitura &l, TextoLimitado &t);      // 22
int numero_de_serie(const Leitura &l, TextoLimitado &t);   // 32
int fabricante(const Leitura &, TextoLimitado &t);         // 33
int modelo(const Leitura &, TextoLimitado &t);             // 34, 38
int tem_mfd(const Leitura &, TextoLimitado &t);            // 35
int sigla_fabricante(const Leitura &, TextoLimitado &t);   // 36
int letra_modelo(const Leitura &, TextoLimitado &t);       // 37
int primeira_linha(const Leitura &l, TextoLimitado &t);    // 45
int linhas_seguintes(const Leitura &l, TextoLimitado &t);  // 46
int mfd_livre(const Leitura &l, TextoLimitado &t);         // 49
int coo(const Leitura &l, TextoLimitado &t);               // 51
int codigo_fabricante(const Leitura &, TextoLimitado &t);  // 61
int codigo_modelo(const Leitura &, TextoLimitado &t);      // 62
int codigo_versao(const Leitura &, TextoLimitado &t);      // 63
int total_nn(const Leitura &, TextoLimitado &t);           // 100
int total_ff(const Leitura &, TextoLimitado &t);           // 110
int total_ii(const Leitura &, TextoLimitado &t);           // 120

namespace fonte {
constexpr Leitura var(int v, Forma f, int pos, int tam) {
  return {Origem::variavel, v, f, pos, tam};
}
constexpr Leitura cmd(int c, Forma f, int pos, int tam, int pos2 = 0, int tam2 = 0) {
  return {Origem::comando, c, f, pos, tam, pos2, tam2};
}
constexpr Leitura fixo(std::string_view s) {
  return {Origem::fixo, 0, Forma::texto, 0, 0, 0, 0, s};
}
inline constexpr Leitura driver{Origem::driver};
inline constexpr Leitura nenhuma{};
}  // namespace fonte

// One row per code; `mfd` and `antiga` tell the source on each generation.
// Positions in the answers of 88, 87 and 6255 are data bytes; 6255 is read
// data first like every answer that carries data.
inline constexpr std::array<Regra, 43> regras{{
    {1, fonte::driver, fonte::driver, valor_documento, false},
    {2, fonte::driver, fonte::driver, total_pago, false},
    {3, fonte::driver, fonte::driver, falta_pagar, false},
    {20, fonte::cmd(cmd::le_dados_reducao, Forma::digitos, 150, 9),
     fonte::cmd(cmd::le_dados_reducao_antiga, Forma::digitos, 1, 9), responde_leitura},
    {21, fonte::driver, fonte::driver, grande_total, false},
    {22, fonte::cmd(cmd::le_dados_reducao, Forma::digitos, 150, 9),
     fonte::cmd(cmd::le_dados_reducao_antiga, Forma::digitos, 1, 9), venda_do_dia},
    {30, fonte::fixo("0"), fonte::fixo("0"), responde_leitura, false},
    {31, fonte::var(var::fabricacao, Forma::digitos, 0, 2),
     fonte::var(var::fabricacao, Forma::digitos, 0, 2), responde_leitura, false},
    {32, fonte::var(var::serie_mfd, Forma::bytes, 0, 20),
     fonte::var(var::serie, Forma::bytes, 0, 20), numero_de_serie},
    {33, fonte::driver, fonte::driver, fabricante},
    {34, fonte::driver, fonte::driver, modelo},
    {35, fonte::driver, fonte::driver, tem_mfd},
    {36, fonte::driver, fonte::driver, sigla_fabricante},
    {37, fonte::driver, fonte::driver, letra_modelo},
    {38, fonte::driver, fonte::driver, modelo},
    {39, fonte::fixo(" "), fonte::fixo(" "), responde_leitura, false},
    {40, fonte::var(var::versao_mfd, Forma::digitos, 0, 3),
     fonte::var(var::versao, Forma::digitos, 0, 2), responde_leitura},
    {41, fonte::fixo("20070103090807"), fonte::fixo("20070103090807"), responde_leitura, false},
    {42, fonte::var(var::alteracoes_cgc, Forma::digitos, 0, 2),
     fonte::var(var::alteracoes_cgc, Forma::digitos, 0, 2), responde_leitura, false},
    {43, fonte::var(var::cgc_mfd, Forma::bytes, 0, 20),
     fonte::var(var::cgc_ie, Forma::bytes, 0, 18), responde_leitura},
    {44, fonte::var(var::ie_mfd, Forma::bytes, 0, 20),
     fonte::var(var::cgc_ie, Forma::bytes, 18, 14), responde_leitura},
    {45, fonte::var(var::cabecalho, Forma::bytes, 0, 48),
     fonte::var(var::cabecalho, Forma::bytes, 0, 48), primeira_linha},
    {46, fonte::var(var::cabecalho, Forma::bytes, 0, 96),
     fonte::var(var::cabecalho, Forma::bytes, 0, 96), linhas_seguintes},
    {49, fonte::var(var::uso_mfd, Forma::bytes, 0, 6), fonte::nenhuma, mfd_livre},
    {51, fonte::var(var::coo, Forma::digitos, 0, 3), fonte::var(var::coo, Forma::digitos, 0, 3),
     coo},
    {52, fonte::cmd(cmd::le_dados_reducao, Forma::digitos, 5, 3),
     fonte::cmd(cmd::le_dados_reducao_antiga, Forma::digitos, 284, 3), responde_leitura},
    {53, fonte::var(var::crz, Forma::digitos, 0, 2), fonte::var(var::crz, Forma::digitos, 0, 2),
     responde_leitura, false},
    {54, fonte::var(var::cupons_cancelados, Forma::digitos, 0, 2),
     fonte::var(var::cupons_cancelados, Forma::digitos, 0, 2), responde_leitura, false},
    {55, fonte::var(var::cro, Forma::digitos, 0, 2), fonte::var(var::cro, Forma::digitos, 0, 2),
     responde_leitura, false},
    {56, fonte::var(var::ccf, Forma::digitos, 0, 3), fonte::nenhuma, responde_leitura},
    {57, fonte::var(var::gnf, Forma::digitos, 0, 3), fonte::var(var::gnf, Forma::digitos, 0, 3),
     responde_leitura, false},
    {58, fonte::var(var::grg, Forma::digitos, 0, 3), fonte::nenhuma, responde_leitura},
    {59, fonte::var(var::cdc, Forma::digitos, 0, 2), fonte::nenhuma, responde_leitura},
    {61, fonte::driver, fonte::driver, codigo_fabricante},
    {62, fonte::driver, fonte::driver, codigo_modelo},
    {63, fonte::driver, fonte::driver, codigo_versao},
    {70, fonte::cmd(cmd::le_dados_reducao, Forma::soma, 159, 28),
     fonte::cmd(cmd::le_dados_reducao_antiga, Forma::soma, 10, 2, 56, 19), responde_leitura},
    {100, fonte::driver, fonte::driver, total_nn, false},
    {110, fonte::driver, fonte::driver, total_ff, false},
    {120, fonte::driver, fonte::driver, total_ii, false},
    {300, fonte::cmd(cmd::le_totais_dia, Forma::soma, 168, 1, 189, 1),
     fonte::var(var::cancelamentos, Forma::digitos, 0, 7), responde_leitura},
    {330, fonte::cmd(cmd::le_totais_dia, Forma::soma, 154, 1, 175, 1),
     fonte::var(var::descontos, Forma::digitos, 0, 7), responde_leitura},
    {360, fonte::cmd(cmd::le_totais_dia, Forma::soma, 161, 1, 182, 1),
     fonte::var(var::acrescimos, Forma::digitos, 0, 7), responde_leitura},
}};

// A row left out of the initialiser would have code 0.
constexpr bool regras_completas() {
  for (const auto &r : regras)
    if (r.codigo <= 0) return false;
  return true;
}
static_assert(regras_completas());

constexpr const Regra *regra_de(int codigo) {
  for (const auto &r : regras)
    if (r.codigo == codigo) return &r;
  return nullptr;
}

}  // namespace ecf::info
