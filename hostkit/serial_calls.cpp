// Serial port library: the C calls the driver makes, each on the port its
// number names. A number outside the table is a fault, never a crash.
#include "platform/serial.h"

#include "log_sink.h"
#include "serial_port.h"

#include "ecfhost.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <string>
#include <string_view>

using ecfhost::port_number;
using ecfhost::SerialPort;

namespace {

constexpr int falha = -1;

// Why the last n_ativaSERIAL failed, for the host to show; empty after a
// success.
std::array<char, 512> motivo{};

void guarda_motivo(std::string_view texto) {
  const std::size_t n = std::min(texto.size(), motivo.size() - 1);
  std::copy_n(texto.data(), n, motivo.data());
  motivo[n] = '\0';
}

// Set by nSERIALinterrompe, from a signal handler or another thread: no new
// frame starts until the port is closed.
std::atomic<bool> interrompido{false};
static_assert(std::atomic<bool>::is_always_lock_free);
bool avisou_interrupcao = false;

// A frame already on its way is finished, so the printer never sees half of
// one; only the first byte of the next is refused.
bool recusa_quadro(const SerialPort &p) {
  return interrompido.load() && !p.mid_frame();
}

int recusa_interrompido(int porta) {
  const std::string device = ecfhost::device_for(porta);
  if (!avisou_interrupcao) {
    avisou_interrupcao = true;
    ecfhost::log_line("serial: " + device + ": interrompido, nenhum quadro novo enviado");
  }
  guarda_motivo(device + ": interrupted");
  return falha;
}

template <typename F>
int na_porta(int porta, int sem_porta, F &&f) {
  SerialPort *p = port_number(porta);
  return p != nullptr ? f(*p) : sem_porta;
}

}  // namespace

extern "C" {

int nSERIALconf(int porta, long velocidade, int stop_bits, int paridade, int bits_dados,
                int controle_fluxo) {
  const ecfhost::LineSettings s{velocidade, stop_bits, paridade, bits_dados, controle_fluxo != 0};
  return na_porta(porta, falha, [&](SerialPort &p) { return p.configure(s); });
}

int n_ativaSERIAL(int porta) {
  // Every other call on such a number fails too; the open says why once.
  if (port_number(porta) == nullptr) {
    const std::string n = std::to_string(porta), max = std::to_string(ecfhost::max_ports);
    ecfhost::log_line("serial: porta " + n + " fora da tabela (1 a " + max + ")");
    guarda_motivo("port " + n + " outside the table (1 to " + max + ")");
  }
  return na_porta(porta, falha, [&](SerialPort &p) {
    const int r = p.open(ecfhost::device_for(porta));
    if (p.is_open()) ecfhost::watch_port(&p);
    guarda_motivo(p.failure());
    return r;
  });
}

const char *nSERIALmotivo_falha(void) {
  return motivo.data();
}

void nSERIALinterrompe(void) {
  interrompido.store(true);
}

int nSERIALreset(int porta) {
  return na_porta(porta, falha, [](SerialPort &p) { return p.reset(); });
}

int nSERIALativaDTR(int porta) {
  return na_porta(porta, falha, [](SerialPort &p) { return p.raise_dtr(); });
}

int nSERIALmodoRTS(int porta, int modo) {
  return na_porta(porta, falha, [modo](SerialPort &p) { return p.set_rts_mode(modo); });
}

int nSERIALativaRTS(int porta) {
  return na_porta(porta, falha, [](SerialPort &p) { return p.raise_rts(); });
}

int nSERIALiniciaTX(int porta) {
  return na_porta(porta, falha, [](SerialPort &p) { return p.start_tx(); });
}

int nSERIALiniciaRX(int porta) {
  return na_porta(porta, falha, [](SerialPort &p) { return p.start_rx(); });
}

int nSERIAL_CTSativo(int porta) {
  // Between frames after an interrupt: "clear", so the refusal comes at once
  // rather than after the printer's hold.
  return na_porta(porta, 1,
                  [](SerialPort &p) { return recusa_quadro(p) || p.cts_active() ? 1 : 0; });
}

int nSERIALtransm(int porta, int byte) {
  return na_porta(porta, falha, [porta, byte](SerialPort &p) {
    if (p.is_open() && recusa_quadro(p)) return recusa_interrompido(porta);
    return p.transmit(static_cast<unsigned char>(byte));
  });
}

int nSERIALstatusTX(int porta) {
  return na_porta(porta, 0, [](SerialPort &p) { return p.pending_tx(); });
}

int nSERIALleRX(int porta) {
  return na_porta(porta, -1, [](SerialPort &p) { return p.receive(); });
}

int nSERIALerro(int porta, int limpa) {
  return na_porta(porta, 0, [limpa](SerialPort &p) { return p.line_errors(limpa != 0); });
}

int nSERIALencerra(int porta) {
  // The host ended the protocol: the interrupt is over, the next opening
  // may send again.
  interrompido.store(false);
  avisou_interrupcao = false;
  return na_porta(porta, falha, [](SerialPort &p) { return p.close(); });
}

}  // extern "C"
