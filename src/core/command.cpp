#include "core/command.h"

#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"

namespace ecf::core {

void registra(int bit, const char *formato, ...) {
  if ((ECFLOG_modo & bit) == 0) return;
  char linha[1024];
  va_list ap;
  va_start(ap, formato);
  std::vsnprintf(linha, sizeof linha, formato, ap);
  va_end(ap);
  ECFLOG_print("%s", linha);
}

int tratado_como_ok(const char *nome, int resultado) {
  registra(log_protocolo, "%s()=%d, tratado como OK.", texto::txt(nome), resultado);
  return 0;
}

}  // namespace ecf::core
