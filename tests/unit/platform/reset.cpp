// Back to the initial state between tests.
#include <cstring>

#include "core/reset.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "platform_state.h"

namespace ecftest {

void reset() {
  detail::reset_clock();
  ECFLOG_modo = 0;
  ECFIF_fim_protocolo();  // closes the port the driver opened
  ecf::core::volta_ao_estado_inicial();
  ECFBMTCAUX_status_execucao = 0;
  ECFBMTC_ultima_falha = 0;
  ECFBMTCAUX_o_que_repetir = 0;
  std::memset(BMTCLOCAL_d, 0, sizeof BMTCLOCAL_d);
  ECFIF_nvmem.flags = 0;
  std::memset(ECFIF_cfg, 0, sizeof ECFIF_cfg);
  ECFIF_porta_serial = 1;
  ECFIF_veloc_serial = 9600;
  ECFIF_versao_firmware = 0;
  ECFIF_inicio_dia_com_lx = 0;
  ECFIF_pfunc_assina_paf = nullptr;
  detail::reset_line();
  detail::reset_host();
  detail::reset_clock();
}

}  // namespace ecftest
