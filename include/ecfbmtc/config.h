/* libecfbmtc: configuration discovery, payment methods, tax rates, item limits.
   Reads send command 35 (printer variables) and block as any command does
   (see ecfbmtc.h); a cached answer sends nothing. */
#ifndef ECFBMTC_CONFIG_H
#define ECFBMTC_CONFIG_H
#ifdef __cplusplus
extern "C" {
#endif

/* Model (1 to 14, 0 unknown), print width and printer generation (bit 0
   set: MFD printer). Set by ECFIF_versao. */
extern int ECFBMTC_modelo_ecf;
extern int ECFBMTC_num_col_ecf;
extern int BMTCLOCAL_flg_vers;
extern const char ECFIF_texto_id_versao[10];

/* Firmware version and generation into ECFIF_versao_firmware and
   BMTCLOCAL_flg_vers; sends nothing once known. Result code. */
int ECFIF_apenas_versao(void);
/* Identifies the model (variables, or command 57 as a probe on older
   printers) and leaves the 24-byte version record in ECFIF_retornado.
   12 on a malformed name answer, 39 for an unknown model. */
int ECFIF_versao(void);
/* The 18-byte manufacturing record (counters, serial number) in
   ECFIF_retornado; a failed read after the first sets repeat code 3. */
int ECFIF_le_fabricacao(void);
/* Fills the 100-byte host configuration record at registro (version,
   manufacturing, counters, state, maker and model names). Result code; the
   record keeps what was filled before a failure. */
int ECFIF_le_configuracao(void *registro);
/* Fills ECFIF_cfg once (sends nothing when filled); on failure leaves the
   defaults and tries again on the next call. */
int ECFIF_pega_configuracao(void);
/* The library's identification text (ECFIF_texto_id_versao). Sends nothing. */
const char *ECFIF_versao_da_biblioteca(void);
/* 1 when the firmware is 1.00, 1.01 or 1.02, else 0 (also when the
   configuration cannot be read). May read it first. */
int ECFBMTC_eh_versao_1_00(void);
int ECFBMTC_eh_versao_1_01(void);
int ECFBMTC_eh_versao_1_02(void);

/* Payment methods: a cache of 17-byte entries (16 characters and a NUL),
   filled from the printer once. */
extern unsigned char *ECFBMTC_formas_pagto;
extern unsigned char ECFBMTC_carregou_fpag;
/* Makes sure the cache holds the printer's table. Result code; 44 when the
   cache cannot be allocated. */
int ECFBMTC_carrega_formas_pagto(void);
/* Entry indice (0-based) into nome (17 bytes; an unprogrammed method is 16
   blanks). 19 for an index outside 0 to 19 (MFD) or 0 to 49 (older). */
int ECFIF_le_forma_de_pagamento(int indice, char *nome);
/* Programs one new payment method (command 71, the name cut or blank-filled
   to 16 characters). 2 for a null or empty name. */
int ECFBMTC_programa_forma_pagamento(const char *nome);
/* The 18-byte non-fiscal totalizer record indice into registro. 19 for an
   index outside the printer's table (older printers also answer 50 and 51
   without an exchange). */
int ECFIF_le_cnf(int indice, void *registro);
/* Reads the payment-method file (null: "BMTCFPAG.CFG" in the working
   directory) and programs the methods the printer lacks (command 71). */
int ECFBMTC_le_arquivo_CFG(const char *caminho);

/* Tax rate table entry indice into 10 bytes at registro (command 26). 19 for
   an index outside the table. */
int ECFIF_le_tributacao(int indice, void *registro);

/* Item limits and multiplication mode; may read the configuration first. */
int ECFIF_modo_multiplicacao(void);
int ECFIF_maximo_de_itens(void);      /* 1 to 999 */
int ECFIF_max_itens_anteriores(void); /* always 300; sends nothing */

#ifdef __cplusplus
}
#endif
#endif
