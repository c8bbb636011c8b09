// Printer variable reads and the status read.
#include "core/catalog.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "transport/line_sync.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace {
constexpr int tentativas_variavel = 5;
constexpr int tentativas_status = 10;
constexpr unsigned espera_status_s = 3;

// Another try on a line that showed nothing answers pays the same wait again.
bool vale_repetir() {
  return !ecf::transport::line_state().dead;
}
}  // namespace

extern "C" {

int ECFBMTC_le_parametro(unsigned char v) {
  int r = 0;
  for (int i = 0; i < tentativas_variavel; ++i) {
    r = ECFBMTC_exec_argum(cmd::le_variavel, &v, 1);
    if (r == 0 || !vale_repetir()) break;
  }
  return r;
}

int ECFBMTC_le_status(void) {
  int r = 0;
  for (int i = 0; i < tentativas_status; ++i) {
    r = ECFBMTC_exec(cmd::le_status);
    if (r == 0 || !vale_repetir()) break;
    ECFIF_avisa_txt_motivo(3, "Lendo status ECF");
    ECFBMTCAUX_retardo(espera_status_s);
  }
  ECFIF_avisa_txt_motivo(0, nullptr);
  return r;
}

}  // extern "C"
