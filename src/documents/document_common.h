// What the non-fiscal documents share: the stored consumer fields, the
// printer's document state, and the close of a text document by command 21.
#pragma once

#include "core/core.h"
#include "ecfbmtc/documents.h"
#include "platform/platform.h"
#include "receipt/common.h"

namespace ecf::documents {

using namespace ecf::receipt;
using ecf::core::EstadoEcf;

// Entries of the printer's payment-method table.
inline int qtd_formas_pagto() {
  return eh_mfd() ? 20 : 50;
}

// The printer's document state, or -1 when it cannot be read.
int le_estado_ecf();
// The state read and equal to `estado`; or showing no document open.
inline bool le_estado(EstadoEcf estado) {
  return le_estado_ecf() == estado;
}
inline bool le_estado_sem_documento() {
  const int e = le_estado_ecf();
  return e >= 0 && ecf::core::sem_documento_aberto(static_cast<unsigned char>(e));
}

void esvazia_buffer_linhas();

// Flushes the line buffer (a failure only logged, the text dropped) and
// closes the linked receipt or report with command 21; a refusal while the
// printer has no document open counts as done. On failure the repeat code
// becomes `repete`.
int fecha_documento_texto(const char *nome, ecf::core::Repete repete);

}  // namespace ecf::documents
