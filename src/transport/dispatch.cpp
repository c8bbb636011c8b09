// The single entry point of every printer command: classification, the line
// buffer flush, pseudo-command mapping and the protocol log line.
#include <cstdio>
#include <cstring>

#include "core/catalog.h"
#include "core/command.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "transport/command_class.h"
#include "transport/exchange.h"
#include "transport/seams.h"

namespace {

using namespace ecf::transport;
using namespace ecf::core;

bool log_protocol() {
  return (ECFLOG_modo & 1) != 0;
}

struct Label {
  char text[64];
  void append(const char *fmt, unsigned v) {
    const std::size_t used = std::strlen(text);
    std::snprintf(text + used, sizeof text - used, fmt, v);
  }
};

void log_result(Label &label, int resultado) {
  if (ECFBMTCAUX_status_execucao != 0)
    label.append("{%u}", static_cast<unsigned>(ECFBMTCAUX_status_execucao));
  const unsigned char *answer = ECFIF_buffer_protocolo;
  const int n = answer != nullptr ? ECFIF_tam_resposta_ecf : 0;
  if (resultado != 0) {
    ECFLOG_print("%s#%d.", label.text, resultado);
  } else if (n == 3 && answer[0] == 0x06 && answer[1] == 0 && answer[2] == 0) {
    ECFLOG_print("%s!", label.text);
  } else if (n >= 1) {
    std::strncat(label.text, "<", sizeof label.text - std::strlen(label.text) - 1);
    ECFLOG_dump(label.text, answer, n);
  } else {
    ECFLOG_print("%s.", label.text);
  }
}

// Every command passes here; `literal` keeps bytes that are not text (printer
// sequences, binary values) away from the host's character filter.
int dispatch(int comando, const unsigned char *argumentos, int tamanho, bool literal) {
  if (!in_table(comandos_sem_descarga, comando)) BMTCLOCAL_imprime_buffer();

  // The label is only for the log: a status read every few milliseconds
  // should not format it for nothing.
  const bool logging = log_protocol();
  Label label{};
  if (logging) {
    std::snprintf(label.text, sizeof label.text, "%c%d",
                  (ECFBMTCAUX_modo_protocolo & 1) ? 'B' : 'b', comando);
    if (argumentos != nullptr && tamanho > 0)
      ECFLOG_dump(label.text, argumentos, tamanho);
    else
      ECFLOG_print("%s", label.text);
  }

  if (comando < 0) return 15;

  unsigned char classe = 0;
  BMTCLOCAL_seta_bit(&classe, copia_retorno);
  if (in_table(comandos_resposta_longa, comando)) {
    BMTCLOCAL_seta_bit(&classe, resposta_longa);
    if (comando == cmd::leitura_mf) BMTCLOCAL_seta_bit(&classe, captura_mf);
    if (comando == cmd::leitura_lx) BMTCLOCAL_seta_bit(&classe, captura_lx);
  }
  if (literal || in_table(comandos_argumento_literal, comando))
    BMTCLOCAL_seta_bit(&classe, argumento_literal);
  if (in_table(comandos_status_apos_dados, comando)) BMTCLOCAL_seta_bit(&classe, status_apos_dados);

  int data_bytes = look_up(tamanhos_resposta, comando).value_or(0);
  const bool has_args = argumentos != nullptr && tamanho > 0;
  if (comando == cmd::leitura_mf) {
    if (!has_args) return 2;
    // Only an "R" reading streams; otherwise the printer prints it.
    if (tamanho <= 12 || argumentos[12] != 'R') {
      data_bytes = 0;
      BMTCLOCAL_reseta_bit(&classe, resposta_longa);
      BMTCLOCAL_reseta_bit(&classe, captura_mf);
    }
  } else if (comando == cmd::le_variavel) {
    if (!has_args) return 2;
    if (auto size = look_up(tamanhos_parametro, argumentos[0])) {
      data_bytes = *size;
    } else {
      data_bytes = 3;
      BMTCLOCAL_reseta_bit(&classe, status_apos_dados);
      if (log_protocol())
        ECFLOG_print("35(%u),fim tab(tamresp=%d).", static_cast<unsigned>(argumentos[0]),
                     data_bytes);
    }
  }

  const int wire = look_up(comandos_estendidos, comando).value_or(comando);
  const int resultado = ECFBMTC_executa(wire, argumentos, tamanho, data_bytes, classe);
  if (logging) log_result(label, resultado);
  return resultado;
}

}  // namespace

int ecf::core::envia_literal(int comando, const unsigned char *argumentos, int tamanho) {
  return dispatch(comando, argumentos, tamanho, true);
}

extern "C" {

int ECFBMTC_exec(int comando) {
  return ECFBMTC_exec_argum(comando, nullptr, 0);
}

int ECFBMTC_exec_argum(int comando, const unsigned char *argumentos, int tamanho) {
  return ECFBMTC_exec_argum_(comando, argumentos, tamanho);
}

int ECFBMTC_exec_argum_(int comando, const unsigned char *argumentos, int tamanho) {
  return dispatch(comando, argumentos, tamanho, false);
}

int ECFBMTC_executa(int comando, const unsigned char *argumentos, int tamanho, int tamanho_resposta,
                    unsigned char classe) {
  return ECFBMTC_executa_(comando, argumentos, tamanho, tamanho_resposta, classe);
}

int ECFBMTC_executa_(int comando, const unsigned char *argumentos, int tamanho,
                     int tamanho_resposta, unsigned char classe) {
  ECFIF_envelope_inicia();
  const int resultado = prepare_and_send(comando, argumentos, tamanho, tamanho_resposta, classe);
  ECFIF_envelope_termina();
  return resultado;
}

}  // extern "C"
