// What the receipt calls from configuration and documents, until their
// headers land.
#ifndef ECF_RECEIPT_DEPS_H
#define ECF_RECEIPT_DEPS_H

extern "C" {
// configuration
extern int ECFBMTC_modelo_ecf;
extern int ECFBMTC_num_col_ecf;
extern int BMTCLOCAL_flg_vers;
extern unsigned char *ECFBMTC_formas_pagto;
int ECFBMTC_carrega_formas_pagto(void);

// documents
int ECFIF_fim_cnf(void);
int ECFIF_fim_cnf_vinc(void);
int BMTCLOCAL_cnf_eh_simulado(int codigo);
}

#endif
