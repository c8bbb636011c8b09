// Programs the payment methods of "BMTCFPAG.CFG" that the printer lacks.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "core/files.h"
#include "core/models.h"
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "setup/payment_file.h"
#include "setup/payment_name.h"

namespace {

namespace arq = ecf::setup::arquivo_fpag;

constexpr const char *arquivo_padrao = "BMTCFPAG.CFG";
constexpr unsigned tam_tabela = arq::max_chaves * arq::tam_campo;
static_assert(tam_tabela == 850);

class TabelaArquivo {
 public:
  TabelaArquivo() { KALLOC_alocou(&campos_, tam_tabela); }
  ~TabelaArquivo() {
    if (campos_ != nullptr) KALLOC_libera(&campos_);
  }
  TabelaArquivo(const TabelaArquivo &) = delete;
  TabelaArquivo &operator=(const TabelaArquivo &) = delete;
  arq::Campo *campos() const { return campos_; }

 private:
  arq::Campo *campos_ = nullptr;
};

int ajusta(int c) {
  return ECFIF_ajusta_carac(c);
}

int le_arquivo(const char *caminho, int chaves, arq::Campo *campos) {
  if (caminho == nullptr) caminho = arquivo_padrao;
  if (caminho[0] == 0) return 2;
  const ecf::core::arquivos::Arquivo f = ecf::core::arquivos::abre_leitura(caminho);
  if (f.get() == nullptr) return 2;
  return arq::le_secao(f.get(), chaves, campos, ajusta);
}

bool vazio(const unsigned char *campo) {
  return campo[0] == 0;
}

// File entries equal to a method the printer already has are not sent again.
void retira_existentes(arq::Campo *campos, int chaves, int formas) {
  for (int k = 0; k < chaves; ++k) {
    if (vazio(campos[k])) continue;
    for (int i = 0; i < formas; ++i) {
      const unsigned char *impressora =
          ECFBMTC_formas_pagto + arq::tam_campo * static_cast<std::size_t>(i);
      if (vazio(impressora) || impressora[0] == ' ') continue;
      if (std::memcmp(campos[k], impressora, arq::tam_campo) == 0) {
        std::memset(campos[k], 0, arq::tam_campo);
        break;
      }
    }
  }
}

}  // namespace

extern "C" int ECFBMTC_le_arquivo_CFG(const char *caminho) {
  TabelaArquivo tabela;
  if (tabela.campos() == nullptr) {
    ECFIF_libera_memoria();
    return 1;
  }
  ECFIF_libera_memoria();
  const int chaves = ecf::core::eh_mfd() ? 20 : 50;
  int ret = le_arquivo(caminho, chaves, tabela.campos());
  if (ret != 0) return ret;

  if (ECFBMTC_carrega_formas_pagto() == 0) retira_existentes(tabela.campos(), chaves, chaves);
  for (int k = 0; k < chaves && ret == 0; ++k) {
    if (vazio(tabela.campos()[k])) continue;
    char nome[arq::tam_campo];
    std::memcpy(nome, tabela.campos()[k], arq::tam_campo);
    nome[arq::tam_campo - 1] = 0;
    ret = ECFBMTC_programa_forma_pagamento(nome);
  }
  ECFIF_libera_memoria();
  return ret;
}
