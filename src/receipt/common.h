// Helpers shared by the receipt operations: log lines, record fields and the
// fixed-width argument fields of the printer commands.
#ifndef ECF_RECEIPT_COMMON_H
#define ECF_RECEIPT_COMMON_H

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "core/answer.h"
#include "core/catalog.h"
#include "core/command.h"
#include "core/lost_answer.h"
#include "core/models.h"
#include "core/states.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/documents.h"
#include "ecfbmtc/receipt.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "setup/persistent_state.h"

namespace ecf::receipt {

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;
namespace doc = ecf::core::doc;
using namespace ecf::core::texto;
using ecf::core::AoSair;
using ecf::core::Argumentos;
using ecf::core::eh_mfd;
using ecf::core::envia;
using ecf::core::Feito;
using ecf::core::Incerto;

// The receipt's subtotal: the first data bytes (BCD) of command 29's answer.
inline constexpr int bytes_subtotal = 7;
using ecf::core::log_interface;
using ecf::core::log_protocolo;
using ecf::core::marca_repeticao;
using ecf::core::registra;
using ecf::core::Repete;
using ecf::core::tratado_como_ok;

// Model and print width, read from the printer before the first document
// command that depends on them: shaped for an unknown printer, the consumer
// block or an item would lose data.
inline int garante_configuracao() {
  return ECFBMTC_num_col_ecf >= 1 ? 0 : ECFIF_pega_configuracao();
}

// Record fields.
inline unsigned char estado_doc() {
  return ecf::nv::estado_doc_atual();
}
inline void muda_estado_doc(unsigned char v) {
  ecf::nv::muda_estado_doc(v);
}
inline constexpr std::size_t tam_slot = 50;
inline constexpr int slots_descritivo = 4;
inline constexpr int slots_publicidade = 8;
inline constexpr std::size_t tam_pagto = 39;
inline constexpr int max_pagtos = 30;
inline unsigned char *descritivo() {
  return ecf::nv::campo(ecf::nv::linhas_descritivo);
}
inline unsigned char *publicidade() {
  return ecf::nv::campo(ecf::nv::linhas_publicidade);
}
void esquece_consumidor();
// A stored consumer field, or null when it is empty. A field without its
// terminator (a record the host handed back damaged) is cut at its last byte.
const char *consumidor(ecf::nv::Field f);
void esvazia_pagtos_vinculaveis();
bool valor8_zero(const unsigned char *valor);
// The receipt close with the stored promotional lines.
int fecha_com_publicidade();

}  // namespace ecf::receipt

#endif
