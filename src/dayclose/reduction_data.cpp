// The figures of the last Reduction Z (command 88 of the MFD models), cut
// into the host's record of 8-byte decimal values.
#include <array>
#include <cstddef>
#include <cstring>

#include "core/core.h"
#include "ecfbmtc/dayclose.h"
#include "platform/platform.h"

using namespace ecf::core;

namespace {

constexpr int tentativas = 5;
constexpr int num_aliquotas = 16;
constexpr std::size_t tam_valor = 8;

// Positions in the raw answer (06h, ST1, ST2, then the data).
constexpr int pos_data = 621;
constexpr int tam_resposta = pos_data + 3;
constexpr int pos_gt = 153;
constexpr int pos_totais_aliquotas = 162;
constexpr int pos_percentuais = 589;

// Host slots.
constexpr int slot_data = 0;
constexpr int slot_liquido = 5;
constexpr int slot_gt = 6;
constexpr int slot_acrescimo_iss = 10;
constexpr int slot_coo_inicial = 19;
constexpr int slot_totais_icms = 40;
constexpr int slot_percentuais_icms = 60;
constexpr int slot_totais_iss = 80;
constexpr int slot_percentuais_iss = 100;

struct Campo {
  int slot;
  int pos;
  int bytes;
};
// Counters, read before the grand total.
constexpr std::array<Campo, 4> contadores{{{3, 4, 2}, {2, 6, 2}, {1, 8, 3}, {4, 25, 2}}};
// Day totals taken off the grand total, in the order they are read.
constexpr std::array<Campo, 11> totais_do_dia{{{14, 274, 7},
                                               {15, 281, 7},
                                               {13, 288, 7},
                                               {17, 295, 7},
                                               {18, 302, 7},
                                               {16, 309, 7},
                                               {11, 316, 7},
                                               {12, 323, 7},
                                               {7, 330, 7},
                                               {8, 337, 7},
                                               {9, 344, 7}}};
constexpr Campo acrescimo_iss{slot_acrescimo_iss, 351, 7};
static_assert(pos_percentuais + 2 * num_aliquotas == pos_data);
static_assert(pos_totais_aliquotas + 7 * num_aliquotas == totais_do_dia[0].pos);

unsigned char *slot(void *registro, int i) {
  return static_cast<unsigned char *>(registro) + static_cast<std::size_t>(i) * tam_valor;
}

// A run of BCD bytes of the answer into an 8-byte value.
void bcd_para_valor(unsigned char *destino, int pos, int bytes) {
  char digitos[2 * 9 + 1] = {};
  ECFBMTCAUX_bcd_para_asciiz(digitos, ECFIF_buffer_protocolo + pos, bytes);
  _ato8(destino, digitos);
}

void preenche(void *registro, const Campo &c) {
  bcd_para_valor(slot(registro, c.slot), c.pos, c.bytes);
}

bool eh_iss(const unsigned char (&bits)[2], int aliquota) {
  return (bits[aliquota / 8] >> (7 - aliquota % 8)) & 1;
}

// DDMMYY of the reduced day as the number DDMM20YY.
void preenche_data(void *registro) {
  char ddmmaa[7] = {};
  ECFBMTCAUX_bcd_para_asciiz(ddmmaa, ECFIF_buffer_protocolo + pos_data, 3);
  char texto[9] = {ddmmaa[0], ddmmaa[1], ddmmaa[2], ddmmaa[3], '2', '0', ddmmaa[4], ddmmaa[5], 0};
  _ato8(slot(registro, slot_data), texto);
}

}  // namespace

extern "C" int ECFIF_le_rz(void *registro) {
  if (!eh_mfd()) return nao_disponivel;
  if (registro == nullptr) return 2;
  unsigned char bits_iss[2] = {};
  int r = 0;
  for (int tentativa = 1; tentativa <= tentativas; ++tentativa) {
    char coo_inicial[8] = {};
    if (ECFBMTCAUX_le_de_arquivo_coo_inicial(coo_inicial) != 0) std::strcpy(coo_inicial, "0");
    _ato8(slot(registro, slot_coo_inicial), coo_inicial);
    bits_iss[0] = bits_iss[1] = 0;
    if (ECFBMTC_le_parametro(var::flags_iss) == 0) resposta::copia_dados(bits_iss, 0, 2);
    r = ECFBMTC_exec(cmd::dados_reducao);
    // An answer too short for the figures is as bad as none.
    if (r == 0 && ECFIF_tam_resposta_ecf < tam_resposta) r = 30;
    registra(log_protocolo, "ECFIF_le_rz[%d/%d]=%d", tentativa, tentativas, r);
    if (r == 0) break;
  }
  if (r != 0) return r;

  for (const Campo &c : contadores) preenche(registro, c);
  preenche(registro, {slot_gt, pos_gt, 9});
  unsigned char resto[tam_valor];
  std::memcpy(resto, slot(registro, slot_gt), tam_valor);

  int icms = 0, iss = 0;
  for (int i = 0; i < num_aliquotas; ++i) {
    const bool de_iss = eh_iss(bits_iss, i);
    int &n = de_iss ? iss : icms;
    const int base_total = de_iss ? slot_totais_iss : slot_totais_icms;
    const int base_percentual = de_iss ? slot_percentuais_iss : slot_percentuais_icms;
    bcd_para_valor(slot(registro, base_percentual + n), pos_percentuais + 2 * i, 2);
    unsigned char *total = slot(registro, base_total + n);
    bcd_para_valor(total, pos_totais_aliquotas + 7 * i, 7);
    _8subtrai(resto, resto, total);
    ++n;
  }
  for (const Campo &c : totais_do_dia) {
    preenche(registro, c);
    _8subtrai(resto, resto, slot(registro, c.slot));
  }
  preenche(registro, acrescimo_iss);
  _8subtrai(slot(registro, slot_liquido), resto, slot(registro, slot_acrescimo_iss));
  preenche_data(registro);
  ECFBMTCAUX_grava_coo_inicial(2);
  return 0;
}
