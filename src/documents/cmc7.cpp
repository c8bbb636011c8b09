// Reading the CMC-7 line of a cheque in the slot (command 76).
#include <algorithm>
#include <cstddef>

#include "core/core.h"
#include "documents/document_slot.h"
#include "ecfbmtc/cheques.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"

namespace ecf::documentos {
using namespace ecf::core;
namespace {

inline constexpr int sem_leitor = 69;
inline constexpr int tam_minimo = 38;
// The line: 37 characters from the sixth byte of the answer.
inline constexpr int inicio_linha = 5;
inline constexpr int tam_linha = 37;

char traduz(char c) {
  switch (c) {
    case '/':
      return ':';
    case '=':
      return '<';
    case '^':
      return '>';
    default:
      return c;
  }
}

// Copies the line without blanks into `buffer` (room for 38 bytes).
void copia_linha(char *buffer) {
  const int fim = std::min(ECFIF_tam_resposta_ecf, inicio_linha + tam_linha);
  std::size_t n = 0;
  for (int i = inicio_linha; i < fim; ++i) {
    const char c = static_cast<char>(ECFIF_buffer_protocolo[i]);
    if (c != ' ') buffer[n++] = traduz(c);
  }
  buffer[n] = 0;
}

}  // namespace
}  // namespace ecf::documentos

extern "C" int ECFIF_le_cmc7(char *buffer, int tamanho) {
  using namespace ecf::documentos;
  if (!buffer || tamanho < 1) return 2;
  if (ECFIF_pega_configuracao() != 0 || !tem_cmc7(ECFBMTC_modelo_ecf)) return sem_leitor;
  buffer[0] = 0;
  if (const int r = espera_documento(); r != 0) return r;
  static constexpr unsigned char um = '1';
  const int r = tem_sensor_documento() ? ECFBMTC_exec_argum(cmd::le_cmc7, &um, 1)
                                       : ECFBMTC_exec(cmd::le_cmc7);
  if (r == 0 && tamanho >= tam_minimo) copia_linha(buffer);
  libera_documento();
  espera_remocao(bit_liberado);
  if (r != 0) return r;
  return tamanho < tam_minimo ? 2 : 0;
}
