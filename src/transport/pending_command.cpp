// The pending command: its owned buffers, its preparation and its sending,
// with the closing pre-check of command 34.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/catalog.h"
#include "core/reset.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "setup/persistent_state.h"
#include "transport/command_class.h"
#include "transport/exchange.h"
#include "transport/frame.h"
#include "transport/line_sync.h"
#include "transport/link.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

extern "C" {
unsigned char *ECFIF_buffer_protocolo = nullptr;
int ECFIF_tam_resposta_ecf = 0;
unsigned char ECFIF_retornado[301];
int ECFIF_tam_retorno = 0;
int ECFIF_ultimo_comando = 0;
}

namespace ecf::transport {

namespace {

PendingCommand g_pending;
unsigned g_answer_size = 0;
bool g_porta_configurada = false;

constexpr unsigned min_args_size = 35;
constexpr unsigned min_frame_size = 44;
constexpr unsigned min_answer_size = 50;
// The receiver may store one byte past the expected length before its
// overflow restart, and a streamed line needs its terminating zero.
constexpr unsigned answer_slack = 2;

constexpr int doc_nao_fiscal = 3;

int release(unsigned char *&buffer, unsigned &size) {
  size = 0;
  return KALLOC_libera(&buffer);
}

// Grows a buffer to at least `needed` bytes; buffers never shrink.
bool ensure(unsigned char *&buffer, unsigned &size, unsigned needed) {
  if (buffer != nullptr && size >= needed) return true;
  release(buffer, size);
  if (KALLOC_alocou(&buffer, needed) == 0 || buffer == nullptr) {
    buffer = nullptr;
    return false;
  }
  size = needed;
  return true;
}

// Buffers are released first, so nothing allocated is forgotten.
void valores_iniciais() {
  release(g_pending.args, g_pending.args_size);
  release(g_pending.frame, g_pending.frame_size);
  release(ECFIF_buffer_protocolo, g_answer_size);
  g_pending = PendingCommand{};
  g_porta_configurada = false;
  line_state() = LineState{};
  ECFIF_tam_resposta_ecf = 0;
  std::memset(ECFIF_retornado, 0, sizeof ECFIF_retornado);
  ECFIF_tam_retorno = 0;
  ECFIF_ultimo_comando = 0;
}
const core::Reinicio reinicio(valores_iniciais);

int send_frame_of(int wire, const unsigned char *args, int len) {
  PendingCommand &p = g_pending;
  const int length = build_frame(p.frame, p.frame_size, wire, args, len, extended_protocol());
  if (length < 0) return 44;
  return exchange(p.frame, length, wire);
}

}  // namespace

PendingCommand &pending() {
  return g_pending;
}
unsigned &answer_size() {
  return g_answer_size;
}
bool &porta_configurada() {
  return g_porta_configurada;
}
bool extended_protocol() {
  return (ECFBMTCAUX_modo_protocolo & 1) != 0;
}

int prepare_and_send(int wire, const unsigned char *args, int len, int data_bytes,
                     unsigned char classe) {
  if (wire < 0) return 15;
  if (len < 0) len = 0;
  if (data_bytes < 0) data_bytes = 0;
  PendingCommand &p = g_pending;
  const int expected = data_bytes + 3 + (extended_protocol() ? 2 : 0);

  const unsigned ulen = static_cast<unsigned>(len);
  if (!ensure(p.args, p.args_size, std::max(min_args_size, ulen)) ||
      !ensure(p.frame, p.frame_size, std::max(min_frame_size, ulen + frame_overhead)) ||
      !ensure(ECFIF_buffer_protocolo, g_answer_size,
              std::max(min_answer_size, static_cast<unsigned>(expected) + answer_slack))) {
    ECFIF_libera_memoria();
    return 44;
  }

  ECFIF_ultimo_comando = wire;
  p.wire_code = wire;
  p.args_len = len;
  p.classe = classe;
  p.expected = expected;

  if (len > 0) {
    if (args == nullptr) {
      p.args_len = 0;
      return 2;
    }
    const bool literal = has(classe, argumento_literal);
    for (int i = 0; i < len; ++i)
      p.args[i] = literal ? args[i] : static_cast<unsigned char>(ECFIF_ajusta_carac(args[i]));
  }

  p.capture.fill('\0');
  const char *capture = has(classe, captura_mf)   ? "ARQ_MF.TXT"
                        : has(classe, captura_lx) ? "ARQ_LX.TXT"
                                                  : nullptr;
  if (capture != nullptr) {
    std::snprintf(p.capture.data(), p.capture.size(), "%s", capture);
    std::remove(capture);
  }
  return send_pending();
}

int send_pending() {
  PendingCommand &p = g_pending;
  if (p.frame == nullptr || ECFIF_buffer_protocolo == nullptr || p.args == nullptr) return 44;

  if (p.wire_code == cmd::fecha_cupom && nv::estado_doc_atual() != doc_nao_fiscal) {
    // Only close what the printer reports open.
    // Its answer has one byte more than the close's length takes; left on
    // the line, it would come before the close's answer.
    p.tail = 1;
    const int r = send_frame_of(35, &var::flags_documento, 1);
    p.tail = 0;
    if (r != 0) return r;
    if (ECFIF_tam_resposta_ecf < 2 || (ECFIF_buffer_protocolo[1] & 1) == 0) return 0;
  }
  return send_frame_of(p.wire_code, p.args, p.args_len);
}

int release_buffers() {
  PendingCommand &p = g_pending;
  release(p.args, p.args_size);
  release(p.frame, p.frame_size);
  p.args_len = 0;
  return release(ECFIF_buffer_protocolo, g_answer_size);
}

}  // namespace ecf::transport
