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
