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

void esvazia_pagtos_vinculaveis() {
  ecf::nv::limpa(ecf::nv::pagtos_vinculaveis);
  ecf::nv::limpa(ecf::nv::qtd_pagtos_vinculaveis);
}

bool valor8_zero(const unsigned char *valor) {
  static constexpr unsigned char zero[8] = {};
  return _8compara(valor, zero) == 0;
}

}  // namespace ecf::receipt
