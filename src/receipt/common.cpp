#include "receipt/common.h"

#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"

namespace ecf::receipt {

void esquece_consumidor() {
  ecf::nv::limpa(ecf::nv::consumidor_cpf_cnpj);
  ecf::nv::limpa(ecf::nv::consumidor_nome);
  ecf::nv::limpa(ecf::nv::consumidor_endereco);
}

const char *consumidor(ecf::nv::Field f) {
  char *s = ecf::nv::texto(f);
  if (std::memchr(s, 0, f.width) == nullptr) {
    s[f.width - 1] = 0;
    ecf::nv::marca_alterado();
  }
  return *s ? s : nullptr;
}

void esvazia_pagtos_vinculaveis() {
  ecf::nv::limpa(ecf::nv::pagtos_vinculaveis);
  ecf::nv::limpa(ecf::nv::qtd_pagtos_vinculaveis);
}

bool valor8_zero(const unsigned char *valor) {
  static constexpr unsigned char zero[8] = {};
  return _8compara(valor, zero) == 0;
}

}  // namespace ecf::receipt
