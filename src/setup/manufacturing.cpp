// Manufacturing record: serial number, CRO, CRZ and the fiscal limits left.
#include <array>
#include <cstring>

#include "core/answer.h"
#include "core/catalog.h"
#include "core/models.h"
#include "core/states.h"
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "setup/serial_number.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace {

using ecf::core::resposta::dado;

constexpr int max_serie = 20;

enum : std::size_t {
  F_SERIE = 0,
  F_CRO = 4,
  F_CRZ = 6,
  F_CGC_RESTANTES = 8,
  F_CGC_TOTAL = 10,
  F_RZ_RESTANTES = 12,
  F_RZ_TOTAL_COPIA = 14,
  F_RZ_TOTAL = 16,
  F_TAM = 18,
};

int bcd4_para_int(uint8_t alto, uint8_t baixo) {
  return (alto >> 4) * 1000 + (alto & 0x0F) * 100 + (baixo >> 4) * 10 + (baixo & 0x0F);
}

// Four decimal digits; counts above the total are taken as nothing left.
void int_para_bcd4(uint8_t *destino, int valor) {
  if (valor < 0) valor = 0;
  valor %= 10000;
  destino[0] = static_cast<uint8_t>(((valor / 1000) << 4) | (valor / 100 % 10));
  destino[1] = static_cast<uint8_t>(((valor / 10 % 10) << 4) | (valor % 10));
}

int le_resto(std::array<uint8_t, F_TAM> &r, bool mfd, int total_reducoes) {
  int ret = ECFBMTC_le_parametro(var::crz);
  if (ret != 0) return ret;
  r[F_CRZ] = dado(0);
  r[F_CRZ + 1] = dado(1);

  int reducoes_restantes;
  if (mfd) {
    ret = ECFBMTC_le_parametro(var::reducoes_restantes);
    if (ret != 0) return ret;
    reducoes_restantes = bcd4_para_int(dado(0), dado(1));
  } else {
    reducoes_restantes = total_reducoes - bcd4_para_int(r[F_CRZ], r[F_CRZ + 1]);
  }
  int_para_bcd4(&r[F_RZ_RESTANTES], reducoes_restantes);
  r[F_RZ_TOTAL_COPIA] = r[F_RZ_TOTAL];
  r[F_RZ_TOTAL_COPIA + 1] = r[F_RZ_TOTAL + 1];

  ret = ECFBMTC_le_parametro(mfd ? var::serie_mfd : var::serie);
  if (ret != 0) return ret;
  const int n = ecf::core::resposta::tamanho_dados();
  if (n > max_serie) return 12;
  uint8_t serie[max_serie];
  ecf::core::resposta::copia_dados(serie, 0, n);
  ecf::setup::serie::empacota(serie, n, &r[F_SERIE]);

  ret = ECFBMTC_le_parametro(var::cro);
  if (ret != 0) return ret;
  r[F_CRO] = dado(0);
  r[F_CRO + 1] = dado(1);
  return 0;
}

}  // namespace

extern "C" int ECFIF_le_fabricacao(void) {
  if (ECFLOG_modo & 2) ECFLOG_print("le_fabricacao()...");
  ecf::core::marca_repeticao(ecf::core::Repete::ultimo_comando);
  std::array<uint8_t, F_TAM> r{};
  const bool mfd = ecf::core::eh_mfd();
  const int total_cgc = mfd ? 20 : 10;
  const int total_reducoes = mfd ? 2046 : 2280;

  int ret = ECFBMTC_le_parametro(var::alteracoes_cgc);
  if (ret != 0) return ret;
  int_para_bcd4(&r[F_CGC_RESTANTES], total_cgc - bcd4_para_int(dado(0), dado(1)));
  int_para_bcd4(&r[F_CGC_TOTAL], total_cgc);
  int_para_bcd4(&r[F_RZ_TOTAL], total_reducoes);

  ret = le_resto(r, mfd, total_reducoes);
  if (ret != 0) {
    ecf::core::marca_repeticao(ecf::core::Repete::le_fabricacao);
    return ret;
  }
  std::memcpy(ECFIF_retornado, r.data(), r.size());
  ECFIF_retornado[r.size()] = 0;
  ECFIF_tam_retorno = static_cast<int>(r.size());
  if (ECFLOG_modo & 2)
    ECFLOG_print(
        "le_fabricacao():CGC=v%02x%02x,t%02x%02x CRZ_t=%02x%02x CRO=%02x%02x CRZ=%02x%02x "
        "FAB=%02x%02x%02x%02x.",
        r[8], r[9], r[10], r[11], r[16], r[17], r[4], r[5], r[6], r[7], r[0], r[1], r[2], r[3]);
  return 0;
}
