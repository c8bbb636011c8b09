/* libecfbmtc: the fiscal receipt (consumer, opening, items, discounts,
   cancellations, totalling, payments, closing). Functions that send a
   command block as any command does (see ecfbmtc.h). */
#ifndef ECFBMTC_RECEIPT_H
#define ECFBMTC_RECEIPT_H
#ifdef __cplusplus
extern "C" {
#endif

/* Application identification: at most 84 characters and a NUL; the flag is
   set once the printer took it. */
extern char ECFBMTCAUX_idaplica[85];
extern int ECFBMTCAUX_configurada_idaplica;

/* Consumer: tipo 1 CPF/CNPJ (29 characters), 2 name (30), 3 address (80),
   0 forgets all three; texto may be null (empties the field). Stored in the
   persistent record for the next opening; sends nothing, returns 0. */
int ECFIF_identifica_consumidor(int tipo, const char *texto);
int ECFIF_suporta_id_consumidor(void); /* always 1 */
/* Stores the identification (texto may be null: 2) and sends it once
   (command 6264, 84 bytes); 15 from a model without it counts as sent. */
int ECFIF_id_aplicacao(const char *texto);
/* Sends command 6264 with texto blank-filled to 84 bytes. 15 on models other
   than 7, 10 and 12 (nothing sent), 2 for a null text. */
int ECFBMTCAUX_id_aplicacao(const char *texto);
/* Opens the receipt with the stored consumer (command 0, up to 139 argument
   bytes). On failure the repeat code is 10. */
int ECFIF_inicio_venda(void);
int ECFIF_inic_venda_txt(const char *texto); /* texto only logged */
/* Command 0 with the consumer block of f1, f2, f3 (each may be null);
   a failure is tolerated when the printer already has a receipt open. */
int ECFBMTC_cf_abertura_txt(const char *f1, const char *f2, const char *f3);
/* Writes the consumer block (up to 139 bytes, no terminator) into a buffer of
   at least 140 bytes; returns its length (0 for a null destino). */
int BMTCLOCAL_formata_dados_cliente(void *destino, const char *f1, const char *f2, const char *f3);

/* Stored text lines: slots of 50 bytes (in-use byte, then the text). Send
   nothing. */
void ECFBMTCAUX_guarda_linha(unsigned char *tabela, int qtd_slots, int indice, const char *texto);
void ECFBMTCAUX_limpa_linhas(unsigned char *tabela, int qtd_slots);
/* Extra description line indice (0 to 3) for the next item; "" at index 0
   empties all four. Sends nothing, returns 0. */
int ECFIF_descritivo(int indice, const char *texto);
int ECFIF_consiste_linha(const char *texto); /* only logs; returns 0 */

/* Items: code, description, tax code, quantity (3 decimals), unit price (2
   decimals; 3 for _3casas), then a discount or a unit of measure. Sends the
   item command the model takes (9, 56, 63, 6273 or 6287, after 6252 for a
   long description) with the stored description lines. 2 for invalid
   arguments or before the configuration is known, 42 when working memory
   is not available. */
int ECFBMTC_registra_item(const char *codigo, const char *descricao, const char *aliquota,
                          const char *quantidade, const char *preco);
int ECFBMTC_registra_item_desc(const char *codigo, const char *descricao, const char *aliquota,
                               const char *quantidade, const char *preco, const char *desconto);
int ECFBMTC_registra_item_3casas(const char *codigo, const char *descricao, const char *aliquota,
                                 const char *quantidade, const char *preco, const char *desconto);
int ECFBMTC_registra_item_und(const char *codigo, const char *descricao, const char *aliquota,
                              const char *quantidade, const char *preco, const char *unidade);

/* Subtotal discount or surcharge, by value or percentage (command 32). */
int ECFIF_desconto_subtot(const char *valor);
int ECFBMTC_desc_subtot(const char *valor);
int ECFBMTC_desc_subtot_perc(const char *percentual);
int ECFIF_acresc_subtot(const char *valor);
int ECFBMTC_acres_subtot_perc(const char *percentual);
/* Discount or surcharge on item 1 to 999 (command 93); 15 on printers
   without MFD, 2 for another item number or no value. */
int ECFIF_desc_item_pos(int item, const char *valor);
int ECFBMTC_desc_item(int item, const char *valor);
int ECFIF_acresc_item_pos(int item, const char *valor);
/* Takes an item's discount or surcharge back (command 114); item 0 to 999,
   else 2; 15 on printers without MFD. */
int ECFBMTC_cancela_desconto(unsigned item);
int ECFBMTC_cancela_acrescimo(unsigned item);
/* Cancels one item (command 31). */
int ECFIF_canc_it_posic(unsigned item);
int ECFBMTC_canc_item(unsigned item);
/* Cancel the open receipt, or the previous one (command 14). */
int ECFIF_canc_cupom(void);
int ECFIF_canc_anterior(void);
int ECFBMTC_cancela_cupom(const char *f1, const char *f2, const char *f3);
/* 0 when the previous receipt may be cancelled, 1 when not, or the failure
   of the variable read. */
int ECFIF_pode_canc_anterior(void);
int ECFIF_pode_desc_item(void);             /* 0 on MFD printers, 1 otherwise */
int ECFIF_pode_acres_item(void);            /* 0 on MFD printers, 1 otherwise */
int ECFIF_suporta_desc_item_pos(void);      /* 1 on MFD printers, 0 otherwise */
int ECFIF_canc_desconto(const char *texto); /* always 15 */
int ECFIF_cancela(const char *texto);       /* always 15 */
int ECFIF_cabecalho(void);                  /* always 0 */

/* Totalling (command 32, or 79 in a non-fiscal receipt); texto only logged. */
int ECFIF_imprime_total(const char *texto);
/* Payment: forma is the 1-based method (2 for 0 or less), valor the amount
   (at most 14 digits), texto1/texto2 optional texts ("" when none, never
   null). Totals first when needed, then command 72; keeps total_pago and the
   payment records. A zero amount sends nothing. */
int ECFBMTC_pagamento(int forma, const char *valor, const char *texto1, const char *texto2);
/* Promotional line indice (0 to 7) for the closing; sends nothing, 0. */
int ECFIF_publicit(int indice, const char *texto);
/* Closes the open document: the fiscal receipt with the identification and
   the promotional lines (command 34), or the open non-fiscal or linked
   receipt through its own end. On failure the repeat code is 7. */
int ECFIF_fim_venda(void);
/* Command 34 with up to eight promotional lines (each may be null); a
   failure is tolerated when the printer has no document open. */
int ECFBMTC_fecha_cupom(const char *l1, const char *l2, const char *l3, const char *l4,
                        const char *l5, const char *l6, const char *l7, const char *l8);
/* Adds a payment record (method name, 14-character amount) after reading
   the counters (command 30). */
void BMTCLOCAL_armazena_fpagto_valor(const char *nome_forma, const char *valor);
int ECFIF_guarda_subtotal(const char *texto); /* only logs; returns 0 */
int ECFIF_troco(const char *texto);           /* only logs; returns 0 */
/* Text helpers; send nothing. */
void BMTCLOCAL_troca_brancos_por_zeros(char *texto, int n);
void BMTCLOCAL_completa_campo(char *destino, int caractere, int n);

#ifdef __cplusplus
}
#endif
#endif
