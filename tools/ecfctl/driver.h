// The driver as ecfctl sees it: libecfhost.so loaded first into the global
// scope, then libecfbmtc.so, and every name looked up at run time.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "ecfbmtc/setup.h"

namespace ecfctl {

// C signatures of the driver operations ecfctl calls.
extern "C" {
using fn_int_void = int();
using fn_int_text = int(const char *);
using fn_int_int_text = int(int, const char *);
using fn_int_uint = int(unsigned);
using fn_ptr_void = void *();
using fn_text_int = const char *(int);
using fn_item = int(const char *code, const char *description, const char *tax,
                    const char *quantity, const char *price);
using fn_item_extra = int(const char *code, const char *description, const char *tax,
                          const char *quantity, const char *price, const char *extra);
using fn_pagamento = int(int method, const char *amount, const char *text1, const char *text2);
using fn_le_estado = int(unsigned char *estado);
using fn_le_parametro = int(unsigned char variable);
using fn_le_forma = int(int index, char *name);
using fn_le_tributacao = int(int index, void *entry);
using fn_8toa = char *(char *text, const void *value);
}

// The descriptor of the persistent record and the record's layout come from
// the driver's public header; the functions are still found by name.
using NvmemDescriptor = ECFIF_descritor_nvmem;
inline constexpr unsigned kRecordSize = BMTCLOCAL_D_TAMANHO;

struct Ops {
  // Setup and record.
  fn_int_text *tratou_argumento = nullptr;   // ECFIF_tratou_argumento
  fn_ptr_void *aponta_nvmem = nullptr;       // ECFIF_aponta_nvmem
  fn_int_void *pega_configuracao = nullptr;  // ECFIF_pega_configuracao
  fn_int_void *abre = nullptr;               // ECFIF_abre
  fn_int_void *fim_protocolo = nullptr;      // ECFIF_fim_protocolo
  fn_text_int *texto_resultado = nullptr;    // ECFBMTCAUX_texto_resultado
  // Reads.
  fn_int_void *le_status = nullptr;              // ECFBMTC_le_status
  fn_le_estado *le_estado_do_ecf = nullptr;      // ECFBMTC_le_estado_do_ecf
  fn_le_parametro *le_parametro = nullptr;       // ECFBMTC_le_parametro
  fn_le_forma *le_forma_de_pagamento = nullptr;  // ECFIF_le_forma_de_pagamento
  fn_le_tributacao *le_tributacao = nullptr;     // ECFIF_le_tributacao
  // The sale.
  fn_int_int_text *identifica_consumidor = nullptr;  // ECFIF_identifica_consumidor
  fn_int_text *id_aplicacao = nullptr;               // ECFIF_id_aplicacao
  fn_int_void *inicio_venda = nullptr;               // ECFIF_inicio_venda
  fn_int_int_text *descritivo = nullptr;             // ECFIF_descritivo
  fn_item *registra_item = nullptr;                  // ECFBMTC_registra_item
  fn_item_extra *registra_item_desc = nullptr;       // ECFBMTC_registra_item_desc
  fn_item_extra *registra_item_3casas = nullptr;     // ECFBMTC_registra_item_3casas
  fn_item_extra *registra_item_und = nullptr;        // ECFBMTC_registra_item_und
  fn_int_text *desc_subtot = nullptr;                // ECFBMTC_desc_subtot
  fn_int_text *desc_subtot_perc = nullptr;           // ECFBMTC_desc_subtot_perc
  fn_int_text *acresc_subtot = nullptr;              // ECFIF_acresc_subtot
  fn_int_text *acres_subtot_perc = nullptr;          // ECFBMTC_acres_subtot_perc
  fn_int_int_text *desc_item_pos = nullptr;          // ECFIF_desc_item_pos
  fn_int_int_text *acresc_item_pos = nullptr;        // ECFIF_acresc_item_pos
  fn_int_uint *canc_item = nullptr;                  // ECFBMTC_canc_item
  fn_int_void *canc_cupom = nullptr;                 // ECFIF_canc_cupom
  fn_int_void *canc_anterior = nullptr;              // ECFIF_canc_anterior
  fn_int_text *imprime_total = nullptr;              // ECFIF_imprime_total
  fn_pagamento *pagamento = nullptr;                 // ECFBMTC_pagamento
  fn_int_int_text *publicit = nullptr;               // ECFIF_publicit
  fn_int_void *fim_venda = nullptr;                  // ECFIF_fim_venda
  fn_int_void *repete = nullptr;                     // ECFIF_repete
  // Host kit.
  fn_8toa *eight_to_text = nullptr;  // _8toa
};

struct Globals {
  // Driver.
  int *modelo_ecf = nullptr;                   // ECFBMTC_modelo_ecf
  int *num_col_ecf = nullptr;                  // ECFBMTC_num_col_ecf
  int *flg_vers = nullptr;                     // BMTCLOCAL_flg_vers
  int *flags = nullptr;                        // ECFBMTC_flags
  int *o_que_repetir = nullptr;                // ECFBMTCAUX_o_que_repetir
  int *status_execucao = nullptr;              // ECFBMTCAUX_status_execucao
  int *ultima_falha = nullptr;                 // ECFBMTC_ultima_falha
  unsigned char **buffer_protocolo = nullptr;  // ECFIF_buffer_protocolo
  int *tam_resposta_ecf = nullptr;             // ECFIF_tam_resposta_ecf
  // Host kit.
  unsigned char *cfg = nullptr;    // ECFIF_cfg (100 bytes)
  int *porta_serial = nullptr;     // ECFIF_porta_serial
  int *veloc_serial = nullptr;     // ECFIF_veloc_serial
  int *versao_firmware = nullptr;  // ECFIF_versao_firmware
  int *log_modo = nullptr;         // ECFLOG_modo
};

class Driver {
 public:
  Driver() = default;
  ~Driver();
  Driver(const Driver &) = delete;
  Driver &operator=(const Driver &) = delete;

  // Loads both libraries from `lib_dir`. Returns an empty string or the error.
  std::string load(const std::string &lib_dir);

  const Ops &ops() const { return ops_; }
  const Globals &globals() const { return globals_; }

  // The persistent record and its descriptor (valid after load()).
  NvmemDescriptor *nvmem() const { return nvmem_; }
  std::span<uint8_t> record() const;

  // Any other exported name of either library, or null.
  void *symbol(const char *name) const;

 private:
  void *host_ = nullptr;
  void *driver_ = nullptr;
  Ops ops_;
  Globals globals_;
  NvmemDescriptor *nvmem_ = nullptr;
};

}  // namespace ecfctl
