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

/* Fiscal memory readings. Range texts: dates DDMMYY DDMMYY (12 characters)
   or reductions NNNN NNNN (8 digits); any other text, or a null one, gives 2
   and sends nothing. `modo` 1 asks for the full reading, any other value the
   simplified one. */
typedef int (*ECFIF_funcao_caractere)(int caractere);
typedef int (*ECFIF_funcao_progresso)(const char *texto);
int ECFIF_mf_le_por_data(const char *texto);
int ECFIF_mf_le_simpl_por_data(const char *texto);
int ECFIF_mf_le_por_reducoes(const char *texto);
int ECFIF_mf_le_simpl_por_reducoes(const char *texto);
/* Streamed to the host's functions, line by line; a non-zero answer of
   either stops the reading with 45. A stream is given up on with 37 past
   16 MiB or 6 hours in all. */
int ECFIF_mf_em_disco(ECFIF_funcao_caractere caractere, ECFIF_funcao_progresso progresso);
int ECFIF_mf_em_disco_por_data(ECFIF_funcao_caractere caractere, ECFIF_funcao_progresso progresso,
                               const char *texto, int modo);
int ECFIF_mf_em_disco_por_reducao(ECFIF_funcao_caractere caractere,
                                  ECFIF_funcao_progresso progresso, const char *texto, int modo);
int BMTCLOCAL_mf_em_disco_por_data(const char *texto, int modo);
int BMTCLOCAL_mf_em_disco_por_reducao(const char *texto, int modo);
/* Exports to the host's file, through "GER_LEIT.TXT" and the signing.
   81: "GER_LEIT.TXT" cannot be written, a program cannot run, or the
   converter wrote nothing; 82/83: the download program left no result or a
   failure; 4: the signing or the rename failed. `zera`, when not null, is
   set to 0. */
int ECFIF_mf_em_arq_por_data(const char *arquivo, int *zera, const char *texto, int modo);
int ECFIF_mf_em_arq_por_reducao(const char *arquivo, int *zera, const char *texto, int modo);
int ECFIF_mfd_em_arq_por_coo(const char *arquivo, int *zera, const char *texto);
int ECFIF_mfd_em_arq_por_coo_com_refer(const char *arquivo, int *zera, const char *texto,
                                       const char *referencia);
int ECFIF_mfd_em_arq_por_data(const char *arquivo, int *zera, const char *texto);
/* Signs `origem` into `destino` with the host's signing function, or renames
   it when the host has none. 0, 2 for a null name, 4 on failure. */
int ECFIF_assina_paf(const char *origem, const char *destino);
int ECFIF_mf_aborta_leitura(void);     /* 15 */
int ECFIF_mf_estat(void);              /* 0 */
int ECFIF_mfd_em_disco_por_coo(void);  /* 15 */
int ECFIF_mfd_em_disco_por_data(void); /* 15 */
/* 5 when the printer reports bit 7 of variable 17, else 0. */
int ECFIF_mf_dia_livre(void);

/* Act file records ("E06", "E07", "E08", "E10", "E11", "E17", "E18") of the
   MFD models. The context is the host's; the driver keeps its working
   buffer (1589 bytes) in it. 42: no memory; 15: any failure of a record. */
struct ECFIF_contexto_atocotepe {
  void *buffer;
  int tamanho;
};
int ECFIF_atocotepe_inicia(struct ECFIF_contexto_atocotepe *contexto, int numero);
int ECFIF_atocotepe_gera(struct ECFIF_contexto_atocotepe *contexto, const char *tipo,
                         const char *arquivo, int numero);
int ECFIF_atocotepe_termina(struct ECFIF_contexto_atocotepe *contexto);

#ifdef __cplusplus
}
#endif
#endif
