// The host configuration record, filled once and read by the rest of the driver.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/answer.h"
#include "core/catalog.h"
#include "core/models.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace {

using ecf::core::resposta::copia_dados;

constexpr std::size_t tam_cfg = 100;
constexpr std::string_view fabricante = "Bematech";

enum : std::size_t {
  C_VERSAO = 0,
  C_REG_VERSAO = 2,
  C_REG_FABRICACAO = 26,
  C_VAR14 = 44,
  C_ESTADO = 46,
  C_VAR27 = 47,
  C_COO = 50,
  C_FABRICANTE = 53,
  C_MODELO = 74,
  C_FIM_NOMES = 95,
};
static_assert(C_REG_FABRICACAO == C_REG_VERSAO + 24);
static_assert(C_VAR14 == C_REG_FABRICACAO + 18);
static_assert(C_MODELO == C_FABRICANTE + 21);
static_assert(C_FIM_NOMES == C_MODELO + 21);

// Twenty characters filled with blanks, then a zero byte.
void escreve_nome(unsigned char *destino, std::string_view nome) {
  if (nome.size() > ecf::core::tam_nome) nome.remove_suffix(nome.size() - ecf::core::tam_nome);
  std::memset(destino, ' ', ecf::core::tam_nome);
  std::memcpy(destino, nome.data(), nome.size());
  destino[ecf::core::tam_nome] = 0;
}

void copia_retorno(unsigned char *destino, int maximo) {
  const int n = std::clamp(ECFIF_tam_retorno, 0, maximo);
  std::memcpy(destino, ECFIF_retornado, static_cast<std::size_t>(n));
}

int preenche(unsigned char *c) {
  int ret = ECFIF_versao();
  if (ret != 0) return ret;
  copia_retorno(c + C_REG_VERSAO, 24);
  const uint16_t versao = static_cast<uint16_t>(c[C_REG_VERSAO] * 256 + c[C_REG_VERSAO + 1]);
  std::memcpy(c + C_VERSAO, &versao, sizeof versao);

  ret = ECFIF_le_fabricacao();
  if (ret != 0) return ret;
  copia_retorno(c + C_REG_FABRICACAO, 18);

  ret = ECFBMTC_le_parametro(var::fabricacao);
  if (ret != 0) return ret;
  copia_dados(c + C_VAR14, 0, 2);
  ret = ECFBMTC_le_parametro(var::totais_dia);
  if (ret != 0) return ret;
  copia_dados(c + C_VAR27, 0, 3);
  ret = ECFBMTC_le_parametro(var::coo);
  if (ret != 0) return ret;
  copia_dados(c + C_COO, 0, 3);
  ret = ECFBMTC_le_estado_do_ecf(c + C_ESTADO);
  if (ret != 0) return ret;

  escreve_nome(c + C_FABRICANTE, fabricante);
  const auto *m = ecf::core::modelo_atual();
  escreve_nome(c + C_MODELO, m != nullptr ? m->nome_host : std::string_view{});
  if (ECFLOG_modo & 2)
    ECFLOG_print("le_configuracao():v%02x %s %s %02x%02x %02x%02x%02x COO=%02x%02x%02x e%u.", c[2],
                 reinterpret_cast<const char *>(c + C_FABRICANTE),
                 reinterpret_cast<const char *>(c + C_MODELO), c[44], c[45], c[47], c[48], c[49],
                 c[50], c[51], c[52], static_cast<unsigned>(c[C_ESTADO]));
  return 0;
}

}  // namespace

extern "C" int ECFIF_le_configuracao(void *registro) {
  if (ECFLOG_modo & 2) ECFLOG_print("le_configuracao()...");
  if (registro == nullptr) return 2;
  auto *c = static_cast<unsigned char *>(registro);
  std::memset(c, 0, tam_cfg);
  ECFIF_versao_firmware = 0;
  return preenche(c);
}

extern "C" int ECFIF_pega_configuracao(void) {
  if (ECFIF_cfg[2] != 0 || ECFIF_cfg[3] != 0) return 0;
  if (ECFLOG_modo & 2) ECFLOG_print("pega_configuracao()...");
  const int ret = ECFIF_le_configuracao(ECFIF_cfg);
  if (ret != 0) {
    // Callers that go on regardless get 48 columns and no capabilities.
    std::memset(ECFIF_cfg, 0, tam_cfg);
    ECFIF_cfg[5] = 48;
    ECFIF_cfg[6] = 0;
    ECFIF_cfg[7] = 1;
    ECFIF_cfg[8] = 45;
  }
  if (ECFLOG_modo & 2) ECFLOG_print("pega_configuracao()=%d", ret);
  return ret;
}
