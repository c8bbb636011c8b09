// Authentication stamp on a document in the slot (command 16).
#include <algorithm>
#include <cstdio>

#include "core/core.h"
#include "documents/document_slot.h"
#include "ecfbmtc/cheques.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/setup.h"
#include "platform/platform.h"

namespace ecf::documentos {
using namespace ecf::core;
namespace {

inline constexpr int recusado = 34;
inline constexpr std::size_t tam_texto = 48;

// Older printers: command 16 without arguments, when the flags allow it.
int autentica_antiga() {
  if ((ECFBMTC_flags & 1) == 0) return 0;
  const int r = ECFBMTC_exec(cmd::autenticacao);
  if (r != 0) {
    avisa_falha();
    return r;
  }
  ECFBMTCAUX_retardo(5);
  return 0;
}

}  // namespace
}  // namespace ecf::documentos

extern "C" {

int ECFIF_autenticacao(const char *texto) {
  return ECFBMTC_autenticacao(0, texto);
}

int ECFBMTC_autenticacao(int numero, const char *texto) {
  using namespace ecf::documentos;
  if (const int r = ECFIF_pega_configuracao(); r != 0) return r;
  if (!tem_autenticacao()) return 0;
  if (!eh_mfd()) return autentica_antiga();
  if (numero < 0 || numero > 99) return 2;

  Argumentos<2 + tam_texto> a;
  char n[3];
  std::snprintf(n, sizeof n, "%0*d", 2, numero);
  a.texto(n);
  if (texto && *texto) a.l(texto, tam_texto);

  // A host that asks for no attempts still gets one: nothing printed is
  // never a success.
  const int tentativas = std::max(1, ECFBMTC_num_tetativas_autenticacao);
  int r = 0;
  for (int i = 0; i < tentativas; ++i) {
    if ((r = espera_documento()) != 0) return r;
    r = envia(cmd::autenticacao, a);
    if (r == 0) {
      ECFBMTCAUX_retardo(5);
      espera_remocao(bit_sem_documento);
      return 0;
    }
    avisa_falha();
    libera_documento();
    if (r != recusado) break;
  }
  return r;
}

}  // extern "C"
