// Firmware version, printer generation and model identification.
#include <array>
#include <cstring>

#include "core/answer.h"
#include "core/catalog.h"
#include "core/models.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

extern "C" {
int ECFBMTC_modelo_ecf = 0;
int ECFBMTC_num_col_ecf = 0;
int BMTCLOCAL_flg_vers = 0;
const char ECFIF_texto_id_versao[10] = "ECFBMTC ?";
}

namespace {

using ecf::core::resposta::dado;
namespace modelos = ecf::core;

constexpr int tam_var_identificacao = 42;
constexpr int pos_nome_modelo = 15;
constexpr int flag_sem_versao_mfd = 0x02;
constexpr std::string_view teste_cheque = "00000000000100Tervalo S/A - Teste de Impressao.";
static_assert(teste_cheque.size() == 47);

// Version record offsets.
enum : std::size_t {
  V_VERSAO_ALTA = 0,
  V_VERSAO_BAIXA = 1,
  V_COLUNAS = 3,
  V_AVANCO = 4,
  V_ACABAMENTO = 7,
  V_CAPACIDADES = 8,
  V_TAM = 24,
};

using ecf::core::eh_mfd;

std::array<uint8_t, V_TAM> registro_inicial() {
  std::array<uint8_t, V_TAM> r{};
  r[2] = 81;
  r[5] = 1;
  r[6] = 45;
  r[V_ACABAMENTO] = 2;
  r[10] = 1;
  r[13] = 4;
  r[14] = 1;
  r[17] = 1;
  r[20] = 10;
  r[21] = 6;
  return r;
}

const modelos::Modelo *modelo_pelo_nome() {
  char nome[modelos::tam_nome];
  for (std::size_t i = 0; i < modelos::tam_nome; ++i)
    nome[i] = static_cast<char>(dado(pos_nome_modelo + static_cast<int>(i)));
  for (const auto &m : modelos::tabela)
    if (std::strncmp(nome, m.nome_ecf.data(), modelos::tam_nome) == 0) return &m;
  return nullptr;
}

// MFD printers name their model in variable 60.
int identifica_mfd(std::array<uint8_t, V_TAM> &r) {
  int ret = ECFBMTC_le_parametro(var::identificacao_mfd);
  if (ret != 0) return ret;
  if (ecf::core::resposta::tamanho_dados() != tam_var_identificacao) return 12;
  const auto *m = modelo_pelo_nome();
  if (m == nullptr) return 39;
  ECFBMTC_modelo_ecf = m->codigo;
  ECFBMTC_num_col_ecf = m->colunas;
  r[V_COLUNAS] = m->colunas;
  r[V_AVANCO] = m->linhas_avanco;
  r[V_CAPACIDADES] = m->capacidades;
  r[V_ACABAMENTO] = m->acabamento;
  return 0;
}

// Older printers: the serial number tells two models apart; otherwise the
// cheque command is refused differently by each.
int identifica_antiga(std::array<uint8_t, V_TAM> &r) {
  int ret = ECFBMTC_le_parametro(var::serie);
  if (ret != 0) return ret;
  char prefixo[4];
  for (int i = 0; i < 4; ++i) prefixo[i] = static_cast<char>(dado(i));
  int codigo = 0;
  if (std::memcmp(prefixo, "4708", 4) == 0) {
    codigo = 1;
  } else if (std::memcmp(prefixo, "5708", 4) == 0) {
    codigo = 3;
  } else {
    ret = ECFBMTC_exec_argum(cmd::cheque,
                             reinterpret_cast<const unsigned char *>(teste_cheque.data()),
                             static_cast<int>(teste_cheque.size()));
    if (ret == 2)
      codigo = 3;
    else if (ret == 15)
      codigo = 1;
    else if (ret != 0)
      return ret;
    else
      return 39;  // accepted: the probe tells nothing about the model
  }
  ECFBMTC_modelo_ecf = codigo;
  const auto *m = modelos::por_codigo(codigo);
  if (m == nullptr) return 39;
  ECFBMTC_num_col_ecf = m->colunas;
  r[V_COLUNAS] = m->colunas;
  r[V_AVANCO] = m->linhas_avanco;
  r[V_CAPACIDADES] = m->capacidades;
  return 0;
}

int versao_do_cfg() {
  uint16_t v;
  std::memcpy(&v, ECFIF_cfg, sizeof v);
  return v;
}

int eh_versao(int versao) {
  if (ECFIF_pega_configuracao() != 0) return 0;
  return versao_do_cfg() == versao ? 1 : 0;
}

}  // namespace

extern "C" int ECFIF_apenas_versao(void) {
  if (ECFLOG_modo & 2) ECFLOG_print("apenas_versao()");
  if (ECFIF_versao_firmware != 0) return 0;
  int ret = ECFBMTC_le_parametro(var::fabricacao);
  if (ret != 0) return ret;
  if ((ECFBMTC_flags & flag_sem_versao_mfd) == 0 && ECFBMTC_le_parametro(var::versao_mfd) == 0) {
    modelos::marca_mfd(true);
    ECFIF_versao_firmware = dado(0) * 256 + dado(2);
    return 0;
  }
  ret = ECFBMTC_le_parametro(var::versao);
  if (ret == 0) {
    modelos::marca_mfd(false);
    ECFIF_versao_firmware = dado(0) * 256 + dado(1);
  } else {
    ECFIF_versao_firmware = 0;
  }
  return ret;
}

extern "C" int ECFIF_versao(void) {
  if (ECFLOG_modo & 2) ECFLOG_print("versao()");
  int ret = ECFIF_apenas_versao();
  if (ret != 0) return ret;
  auto r = registro_inicial();
  ECFBMTC_modelo_ecf = 0;
  const bool mfd = eh_mfd();
  ret = mfd ? identifica_mfd(r) : identifica_antiga(r);
  if (ret != 0) return ret;

  r[V_VERSAO_ALTA] = static_cast<uint8_t>(ECFIF_versao_firmware >> 8);
  r[V_VERSAO_BAIXA] = static_cast<uint8_t>(ECFIF_versao_firmware);
  const bool autentica = (r[V_CAPACIDADES] & modelos::cap_autenticacao) != 0;
  r[15] = mfd ? 30 : 52;
  r[16] = mfd ? 20 : 50;
  r[17] = 1;
  r[18] = autentica ? 1 : 0;
  r[19] = (autentica && mfd) ? 48 : 0;
  r[20] = 10;
  r[21] = 6;
  r[22] = modelos::tem_cmc7(ECFBMTC_modelo_ecf) ? 1 : 0;
  std::memcpy(ECFIF_retornado, r.data(), r.size());
  ECFIF_retornado[r.size()] = 0;
  ECFIF_tam_retorno = static_cast<int>(r.size());
  return 0;
}

extern "C" const char *ECFIF_versao_da_biblioteca(void) {
  return ECFIF_texto_id_versao;
}

extern "C" int ECFBMTC_eh_versao_1_00(void) {
  return eh_versao(0x100);
}
extern "C" int ECFBMTC_eh_versao_1_01(void) {
  return eh_versao(0x101);
}
extern "C" int ECFBMTC_eh_versao_1_02(void) {
  return eh_versao(0x102);
}
