/* libecfbmtc: documents operations. */
#ifndef ECFBMTC_DOCUMENTS_H
#define ECFBMTC_DOCUMENTS_H
#ifdef __cplusplus
extern "C" {
#endif

/* Free text, buffered in the persistent record and printed in one command. */
int ECFIF_imprime_linha(const char *texto);
int ECFIF_imprime_expandido(const char *texto);
int ECFIF_espaceja(int linhas); /* 0 or less ends the document */
int ECFIF_linha_marcacao(int linha);
int BMTCLOCAL_bufferiza_linha(int modo, const char *texto); /* modo 1: expanded */
int BMTCLOCAL_imprime_buffer(void);

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
