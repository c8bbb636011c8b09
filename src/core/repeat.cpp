// The table from repeat code to the operation that runs again.
#include <array>

#include "core/lost_answer.h"
#include "core/states.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/dayclose.h"
#include "ecfbmtc/documents.h"
#include "ecfbmtc/info.h"
#include "ecfbmtc/receipt.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "setup/persistent_state.h"

namespace ecf::core {

void marca_repeticao(Repete codigo) {
  ECFBMTCAUX_o_que_repetir = static_cast<int>(codigo);
}

namespace {

int repete_imprime_total() {
  return ECFIF_imprime_total(nullptr);
}

int repete_inicia_cnf() {
  return ECFIF_inicia_cnf(static_cast<unsigned>(ecf::nv::codigo_cnf_atual()));
}

constexpr std::array<Operacao, ultimo_codigo_repete + 1> tabela{{
    nullptr,  // ultimo_comando: the transport sends it again
    ECFIF_abre_com_relat,
    ECFIF_le_relogio,
    ECFIF_le_fabricacao,
    ECFIF_fim_cnf,
    ECFIF_fim_cnf_vinc,
    ECFIF_fim_relat,
    ECFIF_fim_venda,
    repete_inicia_cnf,
    ECFIF_cnf_vinculado,
    ECFIF_inicio_venda,
    ECFIF_leitura_x_com_relat,
    ECFIF_reducao_z,
    repete_imprime_total,
}};

}  // namespace

Operacao operacao_a_repetir(int codigo) {
  // A command whose answer was lost is settled before it is sent again.
  if (codigo == 0) return operacao_pendente();
  if (codigo < 1 || codigo > ultimo_codigo_repete) return nullptr;
  return tabela[static_cast<std::size_t>(codigo)];
}

}  // namespace ecf::core
