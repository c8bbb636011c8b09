// Waits that yield to the host while they run.
#include <climits>

#include "ecfbmtc/transport.h"
#include "platform/platform.h"

extern "C" {

int ECFBMTCAUX_retardo(unsigned segundos) {
  constexpr unsigned longest = static_cast<unsigned>(INT_MAX / 1000);
  const unsigned s = segundos < longest ? segundos : longest;
  return ECFBMTCAUX_ms_retardo(static_cast<int>(s * 1000u));
}

int ECFBMTCAUX_ms_retardo(int ms) {
  if (ms <= 0) return 0;
  if (ECFLOG_modo & 2) ECFLOG_print("retardo(%ldms)...", static_cast<long>(ms));
  BIOSRTC_timeb start{};
  BIOSRTC_ftime(&start);
  for (;;) {
    BIOSRTC_timeb now{};
    BIOSRTC_ftime(&now);
    const long elapsed =
        (now.segundos - start.segundos) * 1000L +
        (static_cast<long>(now.milissegundos) - static_cast<long>(start.milissegundos));
    if (elapsed > ms) break;
    ECFCOMUM_escalador();
  }
  if (ECFLOG_modo & 2) ECFLOG_print("retardo().");
  return 0;
}

}  // extern "C"
