// Status bytes and execution status into the driver's result code.
#include <array>

#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "transport/link.h"

extern "C" {
int ECFBMTCAUX_status_execucao = 0;
int ECFBMTC_ultima_falha = 0;
}

namespace ecf::transport {

namespace {

struct ExecFailure {
  int status;
  int result;
};

constexpr std::array<ExecFailure, 7> status_execucao_falhas{{
    {8, 1},
    {101, 1},
    {12, 39},
    {13, 39},
    {63, 16},
    {70, 2},
    {11, 11},
}};

struct BitFailure {
  int byte;
  unsigned char mask;
  int result;
};

// Scanned in this order; the first match wins.
constexpr std::array<BitFailure, 12> bits_status_falhas{{
    {2, 0x02, 9},
    {2, 0x40, 5},
    {2, 0x20, 20},
    {1, 0x20, 1},
    {1, 0x10, 12},
    {1, 0x80, 11},
    {1, 0x04, 15},
    {1, 0x01, 2},
    {2, 0x80, 2},
    {1, 0x08, 15},
    {2, 0x04, 1},
    {1, 0x40, 11},
}};

constexpr int exec_ja_feito = 66;

int decode(unsigned char st1, unsigned char st2) {
  const unsigned char bytes[3] = {0, st1, st2};
  const int exec = ECFBMTCAUX_status_execucao;
  if (exec == exec_ja_feito) {
    ECFBMTC_ultima_falha = 1;
    return 0;
  }
  if (exec != 0) {
    for (const auto &f : status_execucao_falhas)
      if (f.status == exec) return ECFBMTC_ultima_falha = f.result;
  }
  for (const auto &f : bits_status_falhas)
    if (bytes[f.byte] & f.mask) return ECFBMTC_ultima_falha = f.result;
  ECFBMTC_ultima_falha = st2;
  return 34;
}

}  // namespace

int status_check() {
  const unsigned char *b = ECFIF_buffer_protocolo;
  if (b == nullptr || ECFIF_tam_resposta_ecf < 3) return 0;
  const unsigned char st1 = b[1];
  const unsigned char st2 = b[2];
  if ((st2 & 1) == 0) return 0;
  const int result = decode(st1, st2);
  if (ECFLOG_modo & 1)
    ECFLOG_print("%02X,%02X{%u}=>%d.", st1, st2, static_cast<unsigned>(ECFBMTCAUX_status_execucao),
                 result);
  return result;
}

}  // namespace ecf::transport
