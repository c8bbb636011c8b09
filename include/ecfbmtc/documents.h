/* libecfbmtc: free text, non-fiscal and linked receipts, management reports. Functions that send
   a command block as any command does (see ecfbmtc.h). */
#ifndef ECFBMTC_DOCUMENTS_H
#define ECFBMTC_DOCUMENTS_H
#ifdef __cplusplus
extern "C" {
#endif

/* Free text, buffered in the persistent record (620 bytes; one line of at
   most the print width) and printed in one command (67, or 20 when 67 is
   refused) when the buffer fills, the document ends or before the next
   printing command. 2 before the print width is known. */
int ECFIF_imprime_linha(const char *texto);
int ECFIF_imprime_expandido(const char *texto);
int ECFIF_espaceja(int linhas);      /* line feeds; 0 or less ends the document */
int ECFIF_linha_marcacao(int linha); /* sends nothing; returns 0 */
int BMTCLOCAL_bufferiza_linha(int modo, const char *texto); /* modo 1: expanded */
/* Prints the buffer now; nothing to print returns 0 without sending. */
int BMTCLOCAL_imprime_buffer(void);

/* Non-fiscal receipt. Real (commands 77, 78, 34/81) on printers with a
   detail-tape memory; simulated elsewhere and for totalizer 29: nothing is
   sent until ECFIF_fim_cnf prints it whole with command 25. */
int BMTCLOCAL_cnf_eh_simulado(int codigo); /* 1 simulated, 0 real; sends nothing */
/* Opens one for the totalizer code with the stored consumer fields. 0, or the
   printer's failure (repeat code 8). */
int ECFIF_inicia_cnf(unsigned codigo);
/* Command 77 with the consumer block of f1..f3 (each may be null); 15 on a
   printer without detail-tape memory. */
int ECFBMTC_abre_cnf(const char *f1, const char *f2, const char *f3);
/* Registers an amount (digits, two implied decimals, at most 14 significant)
   on a totalizer. 1 no receipt open, 2 bad code or amount (nothing sent). */
int ECFBMTC_registra_em_cnf(int codigo, const char *valor);
/* Command 78 (codigo 1..30); 15 on a simulated receipt. */
int ECFBMTC_registra_em_comprovante(int codigo, const char *valor);
/* Ends it: command 25 (simulated), the receipt close (amount registered) or
   command 81 (nothing registered). A failure is tolerated when the printer
   has no document open; otherwise the repeat code is 4. */
int ECFIF_fim_cnf(void);

/* Linked receipt, tied to the newest stored payment the printer accepts
   (command 66); its text goes through the line buffer. 0, or 1 when no
   stored payment is left (repeat code 9 through ECFIF_cnf_vinculado). */
int ECFIF_cnf_vinculado(void);
int ECFBMTC_cnfcd_abrir(const char *f1, const char *f2, const char *f3);
/* Flushes the text and sends command 21. A failure is tolerated when the
   printer has no document open; otherwise the repeat code is 5. */
int ECFIF_fim_cnf_vinc(void);
/* Reprint (92) and second copy (91); 15 without detail-tape memory. */
int ECFIF_copia_de_cnf_vinculado(void);
int ECFBMTC_cnfcd_reimpressao(void);
int ECFBMTC_cnfcd_segunda_via(void);
/* Stored payment record indice (0 the oldest, 0..29) into 39 bytes: COO (6
   digits, NUL), amount (14 digits, NUL), method name (16, NUL); an empty
   record past the stored ones. 2 for a bad index or a null destination. */
int ECFBMTC_le_vinculavel(int indice, void *destino);

/* Management report. ECFIF_tem_relger: 1 when reports carry a type (printers
   with detail-tape memory). ECFIF_abre_relatorio sends command 83 with the
   type of "KRELATG.TMP" or ECFBMTC_tipo_relger (15 on the other printers).
   ECFIF_fim_relat flushes the text and sends command 21 (repeat code 6 on
   failure). */
int ECFIF_tem_relger(void);
int ECFIF_abre_relatorio(void);
int ECFIF_fim_relat(void);

/* Management report opening (MFD models; 15 on the others): command 83 with
   the type ECFBMTC_tipo_relger, or the one "KRELATG.TMP" names. */
int ECFIF_abre_relatorio(void);
/* Prints what is left in the line buffer, then closes the report (command
   21); on failure repeat code 6. */
int ECFIF_fim_relat(void);

#ifdef __cplusplus
}
#endif
#endif
