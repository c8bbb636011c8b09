/* libecfbmtc: dayclose operations. */
#ifndef ECFBMTC_DAYCLOSE_H
#define ECFBMTC_DAYCLOSE_H
#ifdef __cplusplus
extern "C" {
#endif

/* Fiscal-memory export. 1 while a streamed reading runs; the receive loop
   then hands each line to BMTCLOCAL_exec_funcoes. */
extern unsigned char BMTCLOCAL_chamou_em_disco;
/* Takes one streamed line (NUL-terminated, with its line feed; a first byte
   03h ends the reading). 0 goes on; 1 (also for a null text) stops the
   command with 45. Sends nothing. */
int BMTCLOCAL_exec_funcoes(char *texto);

#ifdef __cplusplus
}
#endif
#endif
