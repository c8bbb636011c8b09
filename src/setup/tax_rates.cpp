// The printer's tax situation table, one 10-byte entry at a time.
#include <array>
#include <cstdio>
#include <cstring>

#include "core/answer.h"
#include "core/catalog.h"
#include "core/models.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace {

using ecf::core::resposta::dado;

constexpr int qtd_aliquotas = 16;
constexpr uint8_t tipo_icms = 0;
constexpr uint8_t tipo_iss = 20;
constexpr uint8_t tipo_nao_programada = 99;

enum : std::size_t { T_TIPO = 0, T_CODIGO = 1, T_ALIQUOTA = 4, T_TAM = 10 };

struct Fixa {
  uint8_t tipo;
  char codigo[3];
  bool so_mfd;
};

// Entries 16 to 21: the situations that carry no rate.
constexpr std::array<Fixa, 6> fixas{{
    {4, "FF", false},
    {5, "II", false},
    {6, "NN", false},
    {24, "SF", true},
    {25, "SI", true},
    {26, "SN", true},
}};

void preenche(unsigned char *r, uint8_t tipo, const char *codigo, uint8_t inteiro,
              uint8_t centesimos) {
  std::memset(r, 0, T_TAM);
  r[T_TIPO] = tipo;
  r[T_CODIGO] = static_cast<unsigned char>(codigo[0]);
  r[T_CODIGO + 1] = static_cast<unsigned char>(codigo[1]);
  r[T_ALIQUOTA] = static_cast<unsigned char>('0' + (inteiro >> 4));
  r[T_ALIQUOTA + 1] = static_cast<unsigned char>('0' + (inteiro & 0x0F));
  r[T_ALIQUOTA + 2] = '.';
  r[T_ALIQUOTA + 3] = static_cast<unsigned char>('0' + (centesimos >> 4));
  r[T_ALIQUOTA + 4] = static_cast<unsigned char>('0' + (centesimos & 0x0F));
}

void registra(const char *prefixo, const unsigned char *r) {
  if (ECFLOG_modo & 1)
    ECFLOG_print("%s%d %s %s%%.", prefixo, r[T_TIPO], reinterpret_cast<const char *>(r + T_CODIGO),
                 reinterpret_cast<const char *>(r + T_ALIQUOTA));
}

bool flag_iss(int i) {
  const uint8_t byte = dado(i / 8);
  return (byte & (0x80 >> (i % 8))) != 0;
}

int le_aliquota(int indice, unsigned char *r, const char *prefixo) {
  int ret = ECFBMTC_exec(cmd::le_aliquotas);
  if (ret != 0) {
    if (ECFLOG_modo & 1) ECFLOG_print("%s r=%d.", prefixo, ret);
    return ret;
  }
  const uint8_t inteiro = dado(1 + 2 * indice);
  const uint8_t centesimos = dado(2 + 2 * indice);
  const int numero = indice + 1;  // 1 to 16
  const char codigo[3] = {static_cast<char>('0' + numero / 10),
                          static_cast<char>('0' + numero % 10), 0};
  preenche(r, tipo_icms, codigo, inteiro, centesimos);
  if (inteiro == 0 && centesimos == 0) {
    r[T_TIPO] = tipo_nao_programada;
    return 0;
  }
  ret = ECFBMTC_le_parametro(var::flags_iss);
  if (ret != 0) {
    if (ECFLOG_modo & 1) ECFLOG_print("%s r=%d.", prefixo, ret);
    return ret;
  }
  r[T_TIPO] = flag_iss(indice) ? tipo_iss : tipo_icms;
  return 0;
}

}  // namespace

extern "C" int ECFIF_le_tributacao(int indice, void *registro) {
  char prefixo[32] = "";
  if (ECFLOG_modo & 1) std::snprintf(prefixo, sizeof prefixo, "le_trib(%d):", indice);
  auto *r = static_cast<unsigned char *>(registro);
  const bool mfd = ecf::core::eh_mfd();
  const int fixa = indice - qtd_aliquotas;
  const bool existe =
      (indice >= 0 && indice < qtd_aliquotas) ||
      (fixa >= 0 && fixa < static_cast<int>(fixas.size()) && (mfd || !fixas[fixa].so_mfd));
  if (!existe) {
    if (ECFLOG_modo & 1) ECFLOG_print("%s r=%d.", prefixo, 19);
    return 19;
  }
  if (r == nullptr) return 2;
  if (indice >= qtd_aliquotas) {
    preenche(r, fixas[fixa].tipo, fixas[fixa].codigo, 0, 0);
    if (!fixas[fixa].so_mfd) registra(prefixo, r);
    return 0;
  }
  const int ret = le_aliquota(indice, r, prefixo);
  if (ret != 0) return ret;
  registra(prefixo, r);
  return 0;
}
