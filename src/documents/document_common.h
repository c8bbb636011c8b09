// What the non-fiscal documents share: the stored consumer fields, the
// printer's document state, and the close of a text document by command 21.
#pragma once

#include <cstdio>

#include "ecfbmtc/documents.h"
#include "platform/platform.h"
#include "receipt/common.h"

namespace documents {

// A stored consumer field, or null when it is empty.
inline const char *consumidor(ecf::nv::Field f) {
  const char *s = ecf::nv::texto(f);
  return *s ? s : nullptr;
}

// Entries of the printer's payment-method table.
inline int qtd_formas_pagto() {
  return receipt::eh_mfd() ? 20 : 50;
}

// True when the printer's state could be read and shows no document open.
bool le_estado_sem_documento();

// Flushes the line buffer (a failure only logged, the text dropped) and
// closes the linked receipt or report with command 21; a refusal while the
// printer has no document open counts as done. On failure the repeat code
// becomes `repete`.
int fecha_documento_texto(const char *nome, int repete);

}  // namespace documents
