/* libecfbmtc: free text, non-fiscal and linked receipts. Functions that send
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

/* Non-fiscal receipts. 1 when the receipt of totalizer code codigo is
   simulated (printer without MFD, or code 29), else 0. Sends nothing. */
int BMTCLOCAL_cnf_eh_simulado(int codigo);
/* Ends the open non-fiscal receipt: command 25 (simulated), 34 (amount
   registered) or 81 (nothing registered). A failure is tolerated when the
   printer has no document open; otherwise the repeat code is 4. */
int ECFIF_fim_cnf(void);

/* Linked receipts. Flushes the line buffer and sends command 21. A failure
   is tolerated when the printer has no document open; otherwise the repeat
   code is 5. */
int ECFIF_fim_cnf_vinc(void);

#ifdef __cplusplus
}
#endif
#endif
