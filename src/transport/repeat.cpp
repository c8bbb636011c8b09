// The repeat of an interrupted operation: the operation the repeat code
// names runs again whole; any other failure has its last command sent again.
#include <array>

#include "ecfbmtc.h"
#include "platform/platform.h"
#include "receipt/deps.h"
#include "setup/persistent_state.h"
#include "transport/exchange.h"

extern "C" int ECFIF_le_relogio(void) __attribute__((weak));

namespace {

int sem_texto_total() {
  return ECFIF_imprime_total(nullptr);
}
int relogio() {
  return ECFIF_le_relogio != nullptr ? ECFIF_le_relogio() : 15;
}
// The non-fiscal and linked receipt openings are not built yet.
int ainda_nao_oferecida() {
  return 15;
}

using Operacao = int (*)();
// Repeat code -> the operation it runs again; index 0 is the last command.
constexpr std::array<Operacao, 14> operacoes{
    nullptr,
    ECFIF_abre_com_relat,
    relogio,
    ECFIF_le_fabricacao,
    ECFIF_fim_cnf,
    ECFIF_fim_cnf_vinc,
    ECFIF_fim_relat,
    ECFIF_fim_venda,
    ainda_nao_oferecida,
    ainda_nao_oferecida,
    ECFIF_inicio_venda,
    ECFIF_leitura_x_com_relat,
    ECFIF_reducao_z,
    sem_texto_total,
};

}  // namespace

extern "C" int ECFIF_repete(void) {
  const int codigo = ECFBMTCAUX_o_que_repetir;
  if (codigo > 0 && codigo < static_cast<int>(operacoes.size())) return operacoes[codigo]();
  ECFIF_envelope_inicia();
  const int r = ecf::transport::send_pending();
  ECFIF_envelope_termina();
  return r;
}
