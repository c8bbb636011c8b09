// Printer variable reads and the status read.
#include "core/catalog.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace {
constexpr int tentativas_variavel = 5;
constexpr int tentativas_status = 10;
constexpr unsigned espera_status_s = 3;
}  // namespace

extern "C" {

int ECFBMTC_le_parametro(unsigned char v) {
  int r = 0;
  for (int i = 0; i < tentativas_variavel; ++i) {
    r = ECFBMTC_exec_argum(cmd::le_variavel, &v, 1);
    if (r == 0) break;
  }
  return r;
}

int ECFBMTC_le_status(void) {
  int r = 0;
  for (int i = 0; i < tentativas_status; ++i) {
    r = ECFBMTC_exec(cmd::le_status);
    if (r == 0) break;
    ECFIF_avisa_txt_motivo(3, "Lendo status ECF");
    ECFBMTCAUX_retardo(espera_status_s);
  }
  ECFIF_avisa_txt_motivo(0, nullptr);
  return r;
}

}  // extern "C"
