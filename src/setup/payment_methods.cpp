// The cached payment-method table, reading single methods and programming new ones.
#include <cstdio>
#include <cstring>

#include "core/answer.h"
#include "core/catalog.h"
#include "core/models.h"
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "setup/payment_name.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

extern "C" {
unsigned char *ECFBMTC_formas_pagto = nullptr;
unsigned char ECFBMTC_carregou_fpag = 0;
}

namespace {

namespace nome = ecf::setup::nome_fpag;

constexpr unsigned tam_cache = 50 * nome::tam_campo;
static_assert(tam_cache == 850);

using ecf::core::eh_mfd;
int qtd_formas() {
  return eh_mfd() ? 20 : 50;
}

}  // namespace

extern "C" int ECFBMTC_carrega_formas_pagto(void) {
  if (ECFBMTC_formas_pagto == nullptr) {
    if (!KALLOC_alocou(&ECFBMTC_formas_pagto, tam_cache)) return 44;
    ECFBMTC_carregou_fpag = 0;
  }
  if (ECFBMTC_carregou_fpag) return 0;
  const bool mfd = eh_mfd();
  const int ret = ECFBMTC_le_parametro(mfd ? var::fpag_mfd : var::fpag);
  if (ret != 0) return ret;
  const int primeiro = mfd ? 0 : 1;
  for (int i = 0; i < qtd_formas(); ++i) {
    unsigned char lido[nome::tam_nome];
    ecf::core::resposta::copia_dados(lido, primeiro + static_cast<int>(nome::tam_nome) * i,
                                     nome::tam_nome);
    auto *entrada = ECFBMTC_formas_pagto + nome::tam_campo * static_cast<std::size_t>(i);
    if (lido[0] == 0) {
      std::memset(entrada, 0, nome::tam_campo);
      continue;
    }
    char texto[nome::tam_campo];
    nome::copia_da_tabela(texto, lido);
    std::memcpy(entrada, texto, nome::tam_campo);
  }
  ECFBMTC_carregou_fpag = 1;
  return 0;
}

extern "C" int ECFIF_le_forma_de_pagamento(int indice, char *nome_saida) {
  char prefixo[32] = "";
  const bool log = (ECFLOG_modo & 1) != 0;
  if (log) std::snprintf(prefixo, sizeof prefixo, "le_fpg(%d):", indice);
  if (indice < 0 || indice >= qtd_formas()) {
    if (log) ECFLOG_print("%s r=%d.", prefixo, 19);
    return 19;
  }
  if (nome_saida == nullptr) return 2;
  const int ret = ECFBMTC_carrega_formas_pagto();
  if (ret != 0) return ret;
  const auto *entrada = ECFBMTC_formas_pagto + nome::tam_campo * static_cast<std::size_t>(indice);
  char fonte[nome::tam_campo];
  std::memcpy(fonte, entrada, nome::tam_campo);
  fonte[nome::tam_nome] = 0;
  nome::formata(nome_saida, fonte);
  if (log) ECFLOG_print("%s [%s]", prefixo, fonte[0] != 0 ? nome_saida : "(null)");
  return 0;
}

extern "C" int ECFBMTC_programa_forma_pagamento(const char *nome_forma) {
  if (nome_forma == nullptr || nome_forma[0] == 0) return 2;
  char campo[nome::tam_campo];
  nome::formata(campo, nome_forma);
  ECFBMTC_carregou_fpag = 0;
  return ECFBMTC_exec_argum(cmd::programa_fpag, reinterpret_cast<const unsigned char *>(campo),
                            static_cast<int>(nome::tam_nome));
}
