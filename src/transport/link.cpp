// Port set-up, frame transmission under CTS, the drain and the attempts.
#include "transport/link.h"

#include <algorithm>
#include <array>

#include "core/catalog.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "transport/command_class.h"
#include "transport/exchange.h"
#include "transport/line_sync.h"

namespace ecf::transport {

namespace {

constexpr int max_attempts = 3;
constexpr long transmit_window_s = 60;
constexpr long drain_window_s = 5;
constexpr int rejected_checks = 2;

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
  long deadline = 0;  // the clock is read only once the byte must wait
  for (;;) {
    if (!clear_to_send) clear_to_send = nSERIAL_CTSativo(port()) != 0;
    if (clear_to_send) {
      const int r = nSERIALtransm(port(), byte);
      if (r == 0) return 0;
      if (r != 1) return 36;
      clear_to_send = false;
    }
    if (deadline == 0)
      deadline = now_s() + transmit_window_s;
    else if (now_s() > deadline)
      return 37;
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

namespace cmd = core::cmd;

// Commands that only read: asking again cannot make the printer act twice.
constexpr std::array<int, 10> read_commands{
    cmd::le_status,        cmd::le_sensor_gaveta,
    cmd::le_aliquotas,     cmd::le_totalizadores,
    cmd::le_limite_fase,   cmd::le_coo,
    cmd::le_variavel,      cmd::le_totais_dia,
    cmd::le_dados_reducao, *core::look_up(core::comandos_estendidos, cmd::le_dados_reducao_antiga)};

// The answer of a frame that got none in time may come within about one
// more answer window.
void be_wary(LineState &line) {
  constexpr std::int64_t wary_ms = 35'000;
  line.wary_until_ms = line_now_ms() + wary_ms;
}

struct Attempt {
  int result = 0;
  bool ends_exchange = false;  // a byte could not be sent: no retry, no status check
  bool rejected = false;       // an answer came that cannot be the frame's
};

// One attempt: the line brought into step if it may not be, the frame out,
// its answer in. A complete answer after an out-of-step line, or after
// bytes that were not it, counts only if the line then stays quiet.
Attempt attempt_once(const unsigned char *frame, int length) {
  LineState &line = line_state();
  if (!porta_configurada()) {
    set_up_port();
    if (!porta_configurada()) {
      line.dead = true;
      return {36, false, false};
    }
  }
  ECFIF_tam_retorno = 0;
  ECFIF_tam_resposta_ecf = 0;
  if (line.out_of_step || line_now_ms() < line.wary_until_ms) {
    if (const int r = resynchronise(); r != 0) {
      line.dead = true;
      return {r, false, false};
    }
    line.checks_left = std::max(line.checks_left, 1);
  }
  line.out_of_step = true;

  bool clear_to_send = false;
  for (int i = 0; i < length; ++i) {
    if (const int r = transmit_byte(frame[i], clear_to_send); r != 0) {
      line.dead = true;
      return {r, true, false};
    }
  }
  if (const int r = drain(); r != 0) {
    line.dead = true;
    return {r, false, false};
  }
  const int r = receive_answer();
  // One silent answer window may be one lost answer: a read is asked again
  // once; two in a row and the printer is taken for gone.
  if (r == 37 && line.heard == 0)
    line.dead = ++line.silent_in_a_row >= 2;
  else
    line.silent_in_a_row = 0;
  if (r == 37 || r == 40) be_wary(line);
  if (r != 0) return {r, false, false};
  drop_answer_tail(pending().tail);
  // A stream is framed by its own end byte.
  if (has(pending().classe, resposta_longa)) {
    line.checks_left = 0;
  } else if (line.checks_left > 0 || line.stray) {
    if (!quiet_after_answer()) {
      if (ECFLOG_modo & 1) ECFLOG_print("resposta rejeitada,%ld rec.", line.heard);
      ECFIF_tam_retorno = 0;
      ECFIF_tam_resposta_ecf = 0;
      line.checks_left = rejected_checks;
      be_wary(line);
      return {37, false, true};
    }
    if (line.checks_left > 0) --line.checks_left;
  }
  line.out_of_step = false;
  return {0, false, false};
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
  // What a former user of the port left coming is not ours.
  line_state().out_of_step = true;
}

int exchange(const unsigned char *frame, int length, int wire_code) {
  const bool log_attempts = (ECFLOG_modo & 2) != 0;
  LineState &line = line_state();
  line.dead = false;
  // Asking again after a doubtful answer is safe only for a read; a command
  // that acts may have acted, and its answer is then lost, not refused.
  const bool may_ask_again = core::in_table(read_commands, wire_code);
  int resultado = 36;
  int attempt = 1;
  for (; attempt <= max_attempts; ++attempt) {
    if (attempt > 1 && log_attempts) ECFLOG_print("iniciando tent.%d", attempt);
    const Attempt a = attempt_once(frame, length);
    if (a.ends_exchange) return a.result;
    resultado = a.result;
    const bool refused = resultado == 36 && !line.dead;
    if (!refused && !(a.rejected && may_ask_again)) break;
  }
  if (resultado == 0) resultado = status_check();
  if (log_attempts && resultado != 0)
    ECFLOG_print("tent.%d#%d[%d]", attempt, resultado, ECFBMTC_ultima_falha);
  return resultado;
}

}  // namespace ecf::transport
