/* One sale through the driver: cc sale.c $(pkg-config --cflags --libs ecfbmtc)
   Run with ECF_SERIAL_DEVICE set to the printer's port (or ecfsim's). */
#include <ecfbmtc.h>
#include <stdio.h>

static int failed(const char *step, int r) {
  if (r != 0) fprintf(stderr, "%s: result %d (%s)\n", step, r, ECFBMTCAUX_texto_resultado(r));
  return r != 0;
}

int main(void) {
  printf("%s\n", ECFIF_versao_da_biblioteca());
  if (failed("configuration", ECFIF_pega_configuracao())) return 1;
  ECFIF_identifica_consumidor(2, "Maria da Silva");
  if (failed("open", ECFIF_inicio_venda())) return 1;
  /* Quantity with three decimals, prices with two: 2 x 21,90 and 0,500 x 13,98. */
  if (failed("item", ECFBMTC_registra_item("7891000100103", "Arroz tipo 1 5kg", "01", "2000", "2190")) ||
      failed("item", ECFBMTC_registra_item("2000000000042", "Pao frances", "FF", "0500", "1398")) ||
      failed("total", ECFIF_imprime_total(NULL)) ||
      failed("payment", ECFBMTC_pagamento(1, "5079", "", "")) ||
      failed("close", ECFIF_fim_venda())) {
    failed("cancel", ECFIF_canc_cupom());
    return 1;
  }
  ECFIF_fim_protocolo();
  printf("sale closed\n");
  return 0;
}
