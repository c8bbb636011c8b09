// Reading the CMC-7 line of a cheque in the slot (command 76).
#include <algorithm>
#include <cstddef>

#include "documents/document_slot.h"
#include "ecfbmtc/cheques.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"

namespace ecf::documentos {
namespace {

inline constexpr int le_cmc7 = 76;
inline constexpr int sem_leitor = 69;
inline constexpr int tam_minimo = 38;
// The line: 37 characters from the sixth byte of the answer.
inline constexpr int inicio_linha = 5;
inline constexpr int tam_linha = 37;

bool tem_leitor() {
  return ECFIF_cfg[24] != 0;
}
bool leitura_com_argumento() {
  return ECFBMTC_modelo_ecf == 7 || ECFBMTC_modelo_ecf == 10;
}

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
  if (ECFIF_pega_configuracao() != 0 || !tem_leitor()) return sem_leitor;
  buffer[0] = 0;
  if (const int r = espera_documento(); r != 0) return r;
  static constexpr unsigned char um = '1';
  const int r =
      leitura_com_argumento() ? ECFBMTC_exec_argum(le_cmc7, &um, 1) : ECFBMTC_exec(le_cmc7);
  if (r == 0 && tamanho >= tam_minimo) copia_linha(buffer);
  libera_documento();
  espera_remocao(documento_liberado);
  if (r != 0) return r;
  return tamanho < tam_minimo ? 2 : 0;
}
