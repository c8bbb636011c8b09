/* libecfbmtc: configuration discovery, payment methods, tax rates, item limits. */
#ifndef ECFBMTC_CONFIG_H
#define ECFBMTC_CONFIG_H
#ifdef __cplusplus
extern "C" {
#endif

/* Model, print width and printer generation (bit 0 set: MFD printer). */
extern int ECFBMTC_modelo_ecf;
extern int ECFBMTC_num_col_ecf;
extern int BMTCLOCAL_flg_vers;
extern const char ECFIF_texto_id_versao[10];

int ECFIF_apenas_versao(void);
int ECFIF_versao(void);                    /* 24-byte version record in ECFIF_retornado */
int ECFIF_le_fabricacao(void);             /* 18-byte manufacturing record in ECFIF_retornado */
int ECFIF_le_configuracao(void *registro); /* fills 100 bytes */
int ECFIF_pega_configuracao(void);         /* makes sure ECFIF_cfg is filled */
const char *ECFIF_versao_da_biblioteca(void);
int ECFBMTC_eh_versao_1_00(void);
int ECFBMTC_eh_versao_1_01(void);
int ECFBMTC_eh_versao_1_02(void);

/* Payment methods (17-byte name fields) and non-fiscal totalizers. */
extern unsigned char *ECFBMTC_formas_pagto;
extern unsigned char ECFBMTC_carregou_fpag;
int ECFBMTC_carrega_formas_pagto(void);
int ECFIF_le_forma_de_pagamento(int indice, char *nome); /* nome: 17 bytes */
int ECFBMTC_programa_forma_pagamento(const char *nome);
int ECFIF_le_cnf(int indice, void *registro);    /* registro: 18 bytes */
int ECFBMTC_le_arquivo_CFG(const char *caminho); /* null: "BMTCFPAG.CFG" */

/* Tax rate table: 10-byte entry record. */
int ECFIF_le_tributacao(int indice, void *registro);

/* Item limits and multiplication mode. */
int ECFIF_modo_multiplicacao(void);
int ECFIF_maximo_de_itens(void);
int ECFIF_max_itens_anteriores(void);

#ifdef __cplusplus
}
#endif
#endif
