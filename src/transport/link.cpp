// Port set-up, frame transmission under CTS, the drain and the attempts.
#include "transport/link.h"

#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "transport/exchange.h"

namespace ecf::transport {

namespace {

constexpr int max_attempts = 3;
constexpr long transmit_window_s = 60;
constexpr long drain_window_s = 5;

long now_s() {
  return BIOSRTC_tempo_sistema(nullptr);
}

int port() {
  return ECFIF_porta_serial;
}

void yield_both() {
  SERIPC_escalador();
  ECFCOMUM_escalador();
}

// One byte under hardware flow control. CTS is asked once per frame, and
// again only while the line or the library says "not now": on a USB adapter
// each question is a round trip of its own.
int transmit_byte(unsigned char byte, bool &clear_to_send) {
  const long deadline = now_s() + transmit_window_s;
  for (;;) {
    if (!clear_to_send) clear_to_send = nSERIAL_CTSativo(port()) != 0;
    if (clear_to_send) {
      const int r = nSERIALtransm(port(), byte);
      if (r == 0) return 0;
      if (r != 1) return 36;
      clear_to_send = false;
    }
    if (now_s() > deadline) return 37;
    yield_both();
  }
}

// Waits until the transmitter is empty. A printer holding CTS earns one
// more window each time the current one runs out.
int drain() {
  long deadline = now_s() + drain_window_s;
  const long give_up = now_s() + printer_hold_limit_s;
  bool printer_held = false;
  // Whether the printer holds the line matters only once a window runs out,
  // so CTS is sampled once a second, not on every pass.
  long sampled_s = now_s();
  while (nSERIALstatusTX(port()) > 0) {
    SERIPC_escalador();
    if (now_s() > deadline) {
      if (printer_held && now_s() <= give_up) {
        deadline = now_s() + drain_window_s;
        printer_held = false;
      } else {
        porta_configurada() = false;
        return 37;
      }
    } else {
      ECFCOMUM_escalador();
      if (now_s() != sampled_s) {
        sampled_s = now_s();
        if (!nSERIAL_CTSativo(port())) printer_held = true;
      }
    }
  }
  return 0;
}

}  // namespace

void set_up_port() {
  const int p = port();
  nSERIALconf(p, ECFIF_veloc_serial, 1, 0, 8, 0);
  // A port that did not open stays unconfigured, so the next command tries
  // again instead of failing until the protocol is ended.
  const bool opened = n_ativaSERIAL(p) == 0;
  nSERIALreset(p);
  nSERIALativaDTR(p);
  nSERIALmodoRTS(p, 0);
  nSERIALativaRTS(p);
  nSERIALiniciaTX(p);
  nSERIALiniciaRX(p);
  porta_configurada() = opened;
}

int exchange(const unsigned char *frame, int length) {
  const bool log_attempts = (ECFLOG_modo & 2) != 0;
  int resultado = 36;
  int attempt = 1;
  for (; attempt <= max_attempts; ++attempt) {
    if (attempt > 1 && log_attempts) ECFLOG_print("iniciando tent.%d", attempt);
    if (!porta_configurada()) set_up_port();
    ECFIF_tam_retorno = 0;
    ECFIF_tam_resposta_ecf = 0;
    nSERIALiniciaRX(port());

    bool clear_to_send = false;
    for (int i = 0; i < length; ++i) {
      const int r = transmit_byte(frame[i], clear_to_send);
      if (r != 0) return r;
    }
    resultado = drain();
    if (resultado == 0) resultado = receive_answer();
    if (resultado != 36) break;
  }
  if (resultado == 0) resultado = status_check();
  if (log_attempts && resultado != 0)
    ECFLOG_print("tent.%d#%d[%d]", attempt, resultado, ECFBMTC_ultima_falha);
  return resultado;
}

}  // namespace ecf::transport
