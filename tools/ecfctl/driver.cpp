#include "driver.h"

#include <dlfcn.h>

#include "wire_count.h"

namespace ecfctl {
namespace {

template <class F>
void resolve(void *handle, F *&slot, const char *name) {
  slot = reinterpret_cast<F *>(dlsym(handle, name));
}

std::string dl_error(const std::string &what) {
  const char *e = dlerror();
  return what + ": " + (e != nullptr ? e : "unknown error");
}

}  // namespace

Driver::~Driver() {
  // The libraries stay loaded: the process ends right after, and unloading
  // the driver before the host kit would only add ways to fail.
}

std::string Driver::load(const std::string &lib_dir) {
  // The runtime names (the SONAMEs): an install without the development
  // links still has them. No folder: the system's library path.
  const std::string folder = lib_dir.empty() ? std::string() : lib_dir + "/";
  const std::string host_path = folder + "libecfhost.so.1";
  const std::string driver_path = folder + "libecfbmtc.so.1";
  host_ = dlopen(host_path.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (host_ == nullptr) return dl_error("cannot load the host kit");
  if (!wire_count_attach(host_)) return "the host kit lacks its serial port calls";
  driver_ = dlopen(driver_path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (driver_ == nullptr) return dl_error("cannot load the driver");

  void *d = driver_;
  resolve(d, ops_.tratou_argumento, "ECFIF_tratou_argumento");
  resolve(d, ops_.aponta_nvmem, "ECFIF_aponta_nvmem");
  resolve(d, ops_.pega_configuracao, "ECFIF_pega_configuracao");
  resolve(d, ops_.abre, "ECFIF_abre");
  resolve(d, ops_.fim_protocolo, "ECFIF_fim_protocolo");
  resolve(d, ops_.texto_resultado, "ECFBMTCAUX_texto_resultado");
  resolve(d, ops_.le_status, "ECFBMTC_le_status");
  resolve(d, ops_.le_estado_do_ecf, "ECFBMTC_le_estado_do_ecf");
  resolve(d, ops_.le_parametro, "ECFBMTC_le_parametro");
  resolve(d, ops_.le_forma_de_pagamento, "ECFIF_le_forma_de_pagamento");
  resolve(d, ops_.le_tributacao, "ECFIF_le_tributacao");
  resolve(d, ops_.identifica_consumidor, "ECFIF_identifica_consumidor");
  resolve(d, ops_.id_aplicacao, "ECFIF_id_aplicacao");
  resolve(d, ops_.inicio_venda, "ECFIF_inicio_venda");
  resolve(d, ops_.descritivo, "ECFIF_descritivo");
  resolve(d, ops_.registra_item, "ECFBMTC_registra_item");
  resolve(d, ops_.registra_item_desc, "ECFBMTC_registra_item_desc");
  resolve(d, ops_.registra_item_3casas, "ECFBMTC_registra_item_3casas");
  resolve(d, ops_.registra_item_und, "ECFBMTC_registra_item_und");
  resolve(d, ops_.desc_subtot, "ECFBMTC_desc_subtot");
  resolve(d, ops_.desc_subtot_perc, "ECFBMTC_desc_subtot_perc");
  resolve(d, ops_.acresc_subtot, "ECFIF_acresc_subtot");
  resolve(d, ops_.acres_subtot_perc, "ECFBMTC_acres_subtot_perc");
  resolve(d, ops_.desc_item_pos, "ECFIF_desc_item_pos");
  resolve(d, ops_.acresc_item_pos, "ECFIF_acresc_item_pos");
  resolve(d, ops_.canc_item, "ECFBMTC_canc_item");
  resolve(d, ops_.canc_cupom, "ECFIF_canc_cupom");
  resolve(d, ops_.canc_anterior, "ECFIF_canc_anterior");
  resolve(d, ops_.imprime_total, "ECFIF_imprime_total");
  resolve(d, ops_.pagamento, "ECFBMTC_pagamento");
  resolve(d, ops_.publicit, "ECFIF_publicit");
  resolve(d, ops_.fim_venda, "ECFIF_fim_venda");
  resolve(d, ops_.repete, "ECFIF_repete");
  resolve(host_, ops_.eight_to_text, "_8toa");

  resolve(d, globals_.modelo_ecf, "ECFBMTC_modelo_ecf");
  resolve(d, globals_.num_col_ecf, "ECFBMTC_num_col_ecf");
  resolve(d, globals_.flg_vers, "BMTCLOCAL_flg_vers");
  resolve(d, globals_.flags, "ECFBMTC_flags");
  resolve(d, globals_.o_que_repetir, "ECFBMTCAUX_o_que_repetir");
  resolve(d, globals_.status_execucao, "ECFBMTCAUX_status_execucao");
  resolve(d, globals_.ultima_falha, "ECFBMTC_ultima_falha");
  resolve(d, globals_.buffer_protocolo, "ECFIF_buffer_protocolo");
  resolve(d, globals_.tam_resposta_ecf, "ECFIF_tam_resposta_ecf");
  resolve(host_, globals_.cfg, "ECFIF_cfg");
  resolve(host_, globals_.porta_serial, "ECFIF_porta_serial");
  resolve(host_, globals_.veloc_serial, "ECFIF_veloc_serial");
  resolve(host_, globals_.versao_firmware, "ECFIF_versao_firmware");
  resolve(host_, globals_.log_modo, "ECFLOG_modo");

  if (ops_.tratou_argumento == nullptr || ops_.aponta_nvmem == nullptr) {
    return "the driver lacks ECFIF_tratou_argumento or ECFIF_aponta_nvmem";
  }
  nvmem_ = static_cast<NvmemDescriptor *>(ops_.aponta_nvmem());
  if (nvmem_ == nullptr || nvmem_->endereco == nullptr || nvmem_->tamanho != kRecordSize) {
    return "the driver's persistent record is not the expected 2559 bytes";
  }
  return {};
}

std::span<uint8_t> Driver::record() const {
  if (nvmem_ == nullptr) return {};
  return {static_cast<uint8_t *>(nvmem_->endereco), nvmem_->tamanho};
}

void *Driver::symbol(const char *name) const {
  void *p = driver_ != nullptr ? dlsym(driver_, name) : nullptr;
  if (p == nullptr && host_ != nullptr) p = dlsym(host_, name);
  return p;
}

}  // namespace ecfctl
