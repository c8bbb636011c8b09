// The table from repeat code to the operation that runs again.
#include <array>

#include "core/states.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/info.h"
#include "ecfbmtc/receipt.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "receipt/deps.h"

namespace ecf::core {

void marca_repeticao(Repete codigo) {
  ECFBMTCAUX_o_que_repetir = static_cast<int>(codigo);
}

namespace {

// Until its operation exists, an entry passes the failure on.
int ainda_nao_existe() {
  return nao_disponivel;
}

int repete_imprime_total() {
  return ECFIF_imprime_total(nullptr);
}

constexpr std::array<Operacao, ultimo_codigo_repete + 1> tabela{{
    nullptr,           // ultimo_comando: the transport sends it again
    ainda_nao_existe,  // abre_com_relat
    ECFIF_le_relogio,
    ECFIF_le_fabricacao,
    ECFIF_fim_cnf,
    ECFIF_fim_cnf_vinc,
    ainda_nao_existe,  // fim_relat
    ECFIF_fim_venda,
    ainda_nao_existe,  // inicia_cnf, with codigo_cnf
    ainda_nao_existe,  // cnf_vinculado
    ECFIF_inicio_venda,
    ainda_nao_existe,  // leitura_x_com_relat
    ainda_nao_existe,  // reducao_z
    repete_imprime_total,
}};

}  // namespace

Operacao operacao_a_repetir(int codigo) {
  if (codigo < 1 || codigo > ultimo_codigo_repete) return nullptr;
  return tabela[static_cast<std::size_t>(codigo)];
}

}  // namespace ecf::core
