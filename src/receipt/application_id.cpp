// Application identification: sent once per library load, and again before
// every receipt close.
#include "receipt/common.h"

using namespace ecf::receipt;

extern "C" {
char ECFBMTCAUX_idaplica[85];
int ECFBMTCAUX_configurada_idaplica;
}

namespace {

constexpr std::size_t largura_idaplica = 84;

}  // namespace

extern "C" int ECFBMTCAUX_id_aplicacao(const char *texto) {
  registra(log_interface, "id_aplicacao(%s).", txt(texto));
  if (!ecf::core::aceita_id_aplicacao()) return 15;
  if (!texto) return 2;
  Argumentos<largura_idaplica> a;
  a.l(texto, largura_idaplica);
  return envia(cmd::id_aplicacao, a);
}

extern "C" int ECFIF_id_aplicacao(const char *texto) {
  if (ECFBMTCAUX_configurada_idaplica) {
    registra(log_interface, "id_aplicacao(), ja' configurada.");
    return 0;
  }
  std::memset(ECFBMTCAUX_idaplica, 0, sizeof ECFBMTCAUX_idaplica);
  if (!texto) return 2;
  std::string_view s = limitado(texto, largura_idaplica);
  std::memcpy(ECFBMTCAUX_idaplica, s.data(), s.size());
  int r = ECFBMTCAUX_id_aplicacao(ECFBMTCAUX_idaplica);
  if (r == 15) r = tratado_como_ok("id_aplicacao", r);
  if (r == 0) ECFBMTCAUX_configurada_idaplica = 1;
  return r;
}
