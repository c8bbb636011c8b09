// Opening of a management report on the MFD models (command 83), with the
// report type the host set or the one "KRELATG.TMP" names.
#include <cstdio>

#include "core/core.h"
#include "ecfbmtc/documents.h"
#include "ecfbmtc/setup.h"
#include "setup/persistent_state.h"

using namespace ecf::core;

namespace {

constexpr const char *arquivo_tipo = "KRELATG.TMP";
constexpr int max_linha = 46;

// The type on the file's first line: one or two digits, then any non-digit
// before the line feed. -1 when the file is absent or its line does not do.
int tipo_do_arquivo() {
  const arquivos::Arquivo arquivo = arquivos::abre_leitura(arquivo_tipo);
  if (!arquivo) return -1;
  std::FILE *f = arquivo.get();
  char linha[max_linha + 1];
  int n = 0;
  bool terminada = false;
  for (int c; (c = std::fgetc(f)) != EOF;) {
    if (c == '\n') {
      terminada = true;
      break;
    }
    if (c == 26 || n == max_linha) break;
    linha[n++] = static_cast<char>(c);
  }
  if (!terminada) return -1;
  int digitos = 0, tipo = 0;
  while (digitos < n && linha[digitos] >= '0' && linha[digitos] <= '9')
    tipo = tipo * 10 + (linha[digitos++] - '0');
  // The digits must be followed by something, if only the line feed.
  if (digitos == 0 || digitos > 2) return -1;
  return tipo;
}

}  // namespace

extern "C" int ECFIF_abre_relatorio(void) {
  if (!eh_mfd()) return nao_disponivel;
  int tipo = ECFBMTC_tipo_relger;
  if (const int t = tipo_do_arquivo(); t >= 0) tipo = t;
  const int dois = (tipo % 100 + 100) % 100;
  const unsigned char arg[2] = {static_cast<unsigned char>('0' + dois / 10),
                                static_cast<unsigned char>('0' + dois % 10)};
  const int r = ECFBMTC_exec_argum(cmd::abre_relatorio, arg, 2);
  registra(log_interface, "abre_relatorio_cmd83(%d)=%d.", tipo, r);
  if (r == 0) ecf::nv::muda_estado_doc(doc::relatorio);
  return r;
}
