#include "receipt/common.h"

#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"

namespace receipt {

void registra(int bit, const char *formato, ...) {
  if ((ECFLOG_modo & bit) == 0) return;
  char linha[1024];
  va_list ap;
  va_start(ap, formato);
  std::vsnprintf(linha, sizeof linha, formato, ap);
  va_end(ap);
  ECFLOG_print("%s", linha);
}

void esquece_consumidor() {
  std::memset(deps::campo(deps::consumidor_cpf_cnpj), 0, 30);
  std::memset(deps::campo(deps::consumidor_nome), 0, 31);
  std::memset(deps::campo(deps::consumidor_endereco), 0, 81);
  deps::marca_alterado();
}

void esvazia_pagtos_vinculaveis() {
  std::memset(deps::campo(deps::pagtos_vinculaveis), 0, tam_pagto * max_pagtos);
  *deps::campo(deps::qtd_pagtos_vinculaveis) = 0;
  deps::marca_alterado();
}

bool valor8_zero(const unsigned char *valor) {
  static constexpr unsigned char zero[8] = {};
  return _8compara(valor, zero) == 0;
}

}  // namespace receipt
