// Serial port library: the C calls the driver makes, each on the port its
// number names. A number outside the table is a fault, never a crash.
#include "platform/serial.h"

#include "log_sink.h"
#include "serial_port.h"

#include "ecfhost.h"

#include <algorithm>
#include <array>
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
  return na_porta(porta, 1, [](SerialPort &p) { return p.cts_active() ? 1 : 0; });
}

int nSERIALtransm(int porta, int byte) {
  return na_porta(porta, falha,
                  [byte](SerialPort &p) { return p.transmit(static_cast<unsigned char>(byte)); });
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
  return na_porta(porta, falha, [](SerialPort &p) { return p.close(); });
}

}  // extern "C"
