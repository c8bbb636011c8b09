/* libecfbmtc: the document slot (authentication, cheques, CMC-7) and bar
   codes. Every call first makes sure the configuration is known
   (ECFIF_pega_configuracao) and asks the model whether it can do the work.
   While the operator must insert or remove a document the host's notice
   call is driven (kind 2: insert, kind 1: remove, 0: clear, 3 with
   "ImpressoraFalhou": the printer failed, shown for 5 seconds). */
#ifndef ECFBMTC_CHEQUES_H
#define ECFBMTC_CHEQUES_H
#ifdef __cplusplus
extern "C" {
#endif

/* Authentication stamp on the inserted document: ECFBMTC_autenticacao(0, texto). */
int ECFIF_autenticacao(const char *texto);
/* numero 0 to 99 (else 2); texto optional, at most 48 characters printed.
   Sends 16; a refusal with 34 is tried again up to
   ECFBMTC_num_tetativas_autenticacao times, releasing the document (62/49)
   in between. 0 when printed, or when the model or the settings do not
   authenticate; otherwise the configuration's or the printer's result.
   Blocks 5 s after a print or a failure, and on slot models while the
   operator inserts (at most 2 minutes, then 37) or removes the document. */
int ECFBMTC_autenticacao(int numero, const char *texto);

/* Fills in a cheque: texts; valor digits (at most 14, implied decimals);
   data DDMMYY or DDMMYYYY; banco the bank code that selects the layout
   line of the model group's layout file ("BMTBANCO.CFG", "BTMFDBAN.CFG",
   "I4610BAN.CFG") or its built-in line. Sends 58, 59 and 57; waits for the
   print (at most about 40 s) and the removal, then releases the document.
   0 with the 3-byte record in ECFIF_retornado (text 1 printed, text 2
   printed, 0); 61 when the model prints no cheques or the configuration
   is unreadable; 2 for a missing or ill-formed amount or date; otherwise
   the printer's result (the document is released then too). */
int ECFCHQ_imprime_cheque(const char *favorecido, const char *cidade, const char *data,
                          const char *banco, const char *valor, const char *texto1,
                          const char *texto2, const char *texto3);
/* Releases the document (62/49); the printer's result. */
int ECFCHQ_cancela_cheque(void);
/* Printing on the back of a cheque is not offered: 61. */
int ECFCHQ_usa_verso_cheque(const char *a, const char *b);
int ECFCHQ_imprime_verso_cheque(const char *a, const char *b, const char *c);

/* Reads the CMC-7 line of the inserted cheque into buffer (tamanho bytes,
   38 or more: at most 37 characters and a zero byte) and releases the
   document. 2 for no buffer or tamanho below 38 (the read and the release
   still happen when tamanho is at least 1); 69 without a CMC-7 reader or
   configuration; else the printer's result. */
int ECFIF_le_cmc7(char *buffer, int tamanho);

/* Always 0. */
int ECFIF_sensores_ok(void);

/* 0 when the model prints bar codes, else 15. */
int ECFIF_permite_imprimir_codbarras(void);
/* A bar code in the open free-text document (command 67). tipo 0 (the
   ECFBMTCAUX_tipo_codbar setting) or 1 EAN-8 (7 digits), 2 EAN-13 (12
   digits), 3 up to 15 characters, 4 up to 42, 5 up to 20, 6 up to 30
   digits. 2 for missing or ill-formed data, 69 for another type, 15 when
   the model prints no bar codes, else the printer's result. The look comes
   from the ECFBMTCAUX_*_codbar settings. */
int ECFIF_imprime_codbarras(int tipo, const char *dados);

#ifdef __cplusplus
}
#endif
#endif
