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

/* Reading X (command 6). Sets estado_doc to 0 unless the day's last event
   was a reduction. ECFIF_leitura_x_com_relat then opens a management report
   (older models: command 20 alone); on failure it sets repeat code 11. */
int ECFIF_leitura_x(void);
int ECFIF_leit_x_troca1(void);
int ECFIF_leit_x_troca2(void);
int ECFIF_leitura_x_com_relat(void);

/* Reduction Z (command 5, with the corrected clock when ACERTA_RELOGIO is
   set). On the MFD models it then waits until the printer has printed the
   reduction: up to 7800 s, ending early on two answered status reads.
   Failure: the code, repeat code 12, the record unchanged. Success: the day
   is recorded reduced (estado_dia 5) before the wait. */
int ECFIF_reducao_z(void);
int ECFIF_rz_sem_esperar(void);
int ECFIF_reducao_z_com_relat(void);

/* What the printer offers around the reduction: 1 yes, 0 no. */
int ECFIF_pode_reduzir(void);
int ECFIF_pode_ler_rz(void);
int ECFIF_pode_ler_dados_antes_da_rz(void);
int ECFIF_espera_terminar_reducao(void); /* 0, sends nothing */
int ECFIF_inicio_nao_icms(void);         /* 15: not offered */
int ECFIF_final_nao_icms(void);          /* 15: not offered */

/* The last reduction's figures into at least 120 8-byte decimal values
   (MFD models; 15 on the others). Slot 19 is the day's initial COO. */
int ECFIF_le_rz(void *registro);

/* "BMTCOOIN.TXT": the COO n documents ahead of the printer's (82 when the
   file cannot be written), made sure of at the opening, and read back
   (texto: 7 bytes; 83 when it cannot be read). */
int ECFBMTCAUX_grava_coo_inicial(int n);
void ECFBMTCAUX_garante_coo_inicial(void);
int ECFBMTCAUX_le_de_arquivo_coo_inicial(char *texto);

#ifdef __cplusplus
}
#endif
#endif
