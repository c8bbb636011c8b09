// Repeat codes, the release of the driver's memory and the end of protocol.
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "transport/exchange.h"
#include "transport/seams.h"

extern "C" {

int ECFBMTCAUX_o_que_repetir = 0;

int ECFIF_envelope_suportado(void) {
  return 1;
}

int ECFIF_fim_protocolo(void) {
  if (ECFLOG_modo & 2) ECFLOG_print("fim_protocolo()");
  nSERIALencerra(ECFIF_porta_serial);
  ecf::transport::porta_configurada() = false;
  return ECFIF_libera_memoria();
}

int ECFIF_libera_memoria(void) {
  ecf::transport::release_buffers();
  return KALLOC_libera(&ECFBMTC_formas_pagto);
}

}  // extern "C"
