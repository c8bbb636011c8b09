/* libecfbmtc: the fiscal receipt (consumer, opening, items, discounts,
   cancellations, totalling, payments, closing). */
#ifndef ECFBMTC_RECEIPT_H
#define ECFBMTC_RECEIPT_H
#ifdef __cplusplus
extern "C" {
#endif

/* Application identification: at most 84 characters and a NUL. */
extern char ECFBMTCAUX_idaplica[85];
extern int ECFBMTCAUX_configurada_idaplica;

/* Consumer identification and opening. */
int ECFIF_identifica_consumidor(int tipo, const char *texto);
int ECFIF_suporta_id_consumidor(void);
int ECFIF_id_aplicacao(const char *texto);
int ECFBMTCAUX_id_aplicacao(const char *texto);
int ECFIF_inicio_venda(void);
int ECFIF_inic_venda_txt(const char *texto);
int ECFBMTC_cf_abertura_txt(const char *f1, const char *f2, const char *f3);
/* Writes the consumer block (up to 139 bytes, no terminator) into a buffer of
   at least 140 bytes; returns its length. */
int BMTCLOCAL_formata_dados_cliente(void *destino, const char *f1, const char *f2, const char *f3);

/* Stored text lines: slots of 50 bytes (in-use byte, then the text). */
void ECFBMTCAUX_guarda_linha(unsigned char *tabela, int qtd_slots, int indice, const char *texto);
void ECFBMTCAUX_limpa_linhas(unsigned char *tabela, int qtd_slots);
int ECFIF_descritivo(int indice, const char *texto);
int ECFIF_consiste_linha(const char *texto);

/* Items. */
int ECFBMTC_registra_item(const char *codigo, const char *descricao, const char *aliquota,
                          const char *quantidade, const char *preco);
int ECFBMTC_registra_item_desc(const char *codigo, const char *descricao, const char *aliquota,
                               const char *quantidade, const char *preco, const char *desconto);
int ECFBMTC_registra_item_3casas(const char *codigo, const char *descricao, const char *aliquota,
                                 const char *quantidade, const char *preco, const char *desconto);
int ECFBMTC_registra_item_und(const char *codigo, const char *descricao, const char *aliquota,
                              const char *quantidade, const char *preco, const char *unidade);

/* Discounts, surcharges and cancellations. */
int ECFIF_desconto_subtot(const char *valor);
int ECFBMTC_desc_subtot(const char *valor);
int ECFBMTC_desc_subtot_perc(const char *percentual);
int ECFIF_acresc_subtot(const char *valor);
int ECFBMTC_acres_subtot_perc(const char *percentual);
int ECFIF_desc_item_pos(int item, const char *valor);
int ECFBMTC_desc_item(int item, const char *valor);
int ECFIF_acresc_item_pos(int item, const char *valor);
int ECFBMTC_cancela_desconto(unsigned item);
int ECFBMTC_cancela_acrescimo(unsigned item);
int ECFIF_canc_it_posic(unsigned item);
int ECFBMTC_canc_item(unsigned item);
int ECFIF_canc_cupom(void);
int ECFIF_canc_anterior(void);
int ECFBMTC_cancela_cupom(const char *f1, const char *f2, const char *f3);
int ECFIF_pode_canc_anterior(void);
int ECFIF_pode_desc_item(void);
int ECFIF_pode_acres_item(void);
int ECFIF_suporta_desc_item_pos(void);
int ECFIF_canc_desconto(const char *texto);
int ECFIF_cancela(const char *texto);
int ECFIF_cabecalho(void);

/* Totalling, payment and closing. */
int ECFIF_imprime_total(const char *texto);
int ECFBMTC_pagamento(int forma, const char *valor, const char *texto1, const char *texto2);
int ECFIF_publicit(int indice, const char *texto);
int ECFIF_fim_venda(void);
int ECFBMTC_fecha_cupom(const char *l1, const char *l2, const char *l3, const char *l4,
                        const char *l5, const char *l6, const char *l7, const char *l8);
void BMTCLOCAL_armazena_fpagto_valor(const char *nome_forma, const char *valor);
int ECFIF_guarda_subtotal(const char *texto);
int ECFIF_troco(const char *texto);
void BMTCLOCAL_troca_brancos_por_zeros(char *texto, int n);
void BMTCLOCAL_completa_campo(char *destino, int caractere, int n);

#ifdef __cplusplus
}
#endif
#endif
