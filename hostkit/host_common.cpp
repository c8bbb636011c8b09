// The host's common driver library: configuration record, port settings from
// the environment, envelopes, operator notices and the option fallback.
#include "platform/host_common.h"
#include "platform/log.h"

#include "log_sink.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int porta_padrao = 1;
constexpr int velocidade_padrao = 115200;

int inteiro_do_ambiente(const char *nome, int padrao, int menor, int maior) {
  const char *texto = std::getenv(nome);
  if (texto == nullptr || *texto == '\0') return padrao;
  char *fim = nullptr;
  const long v = std::strtol(texto, &fim, 10);
  return (*fim != '\0' || v < menor || v > maior) ? padrao : static_cast<int>(v);
}

bool aviso_exibido = false;

const char *texto_do_aviso(int tipo, const char *texto) {
  switch (tipo) {
    case 1:
      return texto != nullptr ? texto : "Retire o documento";
    case 2:
      return texto != nullptr ? texto : "Insira o documento";
    default:
      return texto != nullptr ? texto : "";
  }
}

}  // namespace

extern "C" {

unsigned char ECFIF_cfg[100] = {};
int ECFIF_porta_serial = inteiro_do_ambiente("ECF_SERIAL_PORT", porta_padrao, 1, 256);
int ECFIF_veloc_serial = inteiro_do_ambiente("ECF_SERIAL_SPEED", velocidade_padrao, 1, 4000000);
int ECFIF_versao_firmware = 0;
int ECFIF_inicio_dia_com_lx = 0;
int (*ECFIF_pfunc_assina_paf)(const char *origem, const char *destino) = nullptr;

int ECFIF_envelope_inicia(void) {
  return 0;
}

int ECFIF_envelope_termina(void) {
  return 0;
}

int ECFIF_avisa_txt_motivo(int tipo, const char *texto) {
  if (tipo == 0) {
    // Clearing a notice nobody sees is not worth a line.
    if (aviso_exibido) ecfhost::log_line("aviso: (limpo)");
    aviso_exibido = false;
    return 0;
  }
  const std::string linha = "aviso(" + std::to_string(tipo) + "): " + texto_do_aviso(tipo, texto);
  ecfhost::log_line(linha);
  if (!ecfhost::log_on_stderr()) {
    const std::string tela = "ECF: " + std::string(texto_do_aviso(tipo, texto)) + "\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, tela.data(), tela.size());
  }
  aviso_exibido = true;
  return 0;
}

int ECFCOMUM_tratou_argumento(const char *argumento) {
  // No host option is handled here: the caller reports it as not taken.
  (void)argumento;
  return 0;
}

}  // extern "C"
