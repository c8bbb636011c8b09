/* libecfbmtc: host options, driver settings and the persistent record.
   Nothing here sends a command or blocks. */
#ifndef ECFBMTC_SETUP_H
#define ECFBMTC_SETUP_H
#ifdef __cplusplus
extern "C" {
#endif

/* Host options ("ECFBMTC_..." and "ECFBEMATECH_..." keywords, some with
   "=number"): 1 when the option is the driver's (known or not), else the
   host's own answer for it. */
int ECFIF_tratou_argumento(const char *arg);

/* Settings set by options (initial values in brackets, 0 when not given). */
extern int ECFBMTC_flags;
extern int ECFBMTCAUX_logica_gaveta;
extern int ECFBMTCAUX_forca_multiplicacao;
extern int ECFBMTCAUX_modo_protocolo; /* bit 0: extended protocol */
extern int ECFBMTCAUX_codigo_cbranco;
extern int ECFBMTCAUX_acerta_relogio;
extern int ECFBMTCAUX_modo_acerta_relogio;
extern int ECFBMTCAUX_desativa_corte;
extern int ECFBMTCAUX_regitem_nlinha;
extern int ECFBMTCAUX_tipo_codbar;
extern int ECFBMTCAUX_margem_codbar; /* [2] */
extern int ECFBMTCAUX_altura_codbar; /* [60] */
extern int ECFBMTCAUX_barra_codbar;  /* [2] */
extern int ECFBMTCAUX_fonte_codbar;
extern int ECFBMTCAUX_pos_txt_codbar; /* [2] */
extern int ECFBMTCAUX_forca_maximo_de_itens;

/* Settings the host may change directly. */
extern unsigned char ECFBMTC_tempo_pulso_gaveta; /* [20] */
extern int ECFBMTC_num_tetativas_autenticacao;   /* [4] */
extern int ECFBMTC_tipo_relger;                  /* [1] */
extern char ECFBMTC_unidade_do_item[3];          /* ["UN"] */

/* The character the printer is to print for c (the host's filter). */
int ECFIF_ajusta_carac(int c);

/* The persistent record: 2559 bytes the host keeps in non-volatile memory.
   Multi-byte integers are little-endian; texts are zero-terminated. */
enum {
  BMTCLOCAL_D_TAMANHO = 2559,
  BMTCLOCAL_D_LINHAS_PUBLICIDADE = 0,       /* 8 slots of 50 bytes */
  BMTCLOCAL_D_LINHAS_DESCRITIVO = 400,      /* 4 slots of 50 bytes */
  BMTCLOCAL_D_QTD_PAGTOS_VINCULAVEIS = 600, /* 1 byte, 0 to 30 */
  BMTCLOCAL_D_PAGTOS_VINCULAVEIS = 601,     /* 30 records of 39 bytes */
  BMTCLOCAL_D_CONSUMIDOR_CPF_CNPJ = 1771,   /* 30 bytes */
  BMTCLOCAL_D_CONSUMIDOR_NOME = 1801,       /* 31 bytes */
  BMTCLOCAL_D_CONSUMIDOR_ENDERECO = 1832,   /* 81 bytes */
  BMTCLOCAL_D_BUFFER_LINHAS = 1913,         /* 620 bytes */
  BMTCLOCAL_D_CODIGO_CNF = 2533,            /* signed 32-bit */
  BMTCLOCAL_D_VALOR_CNF = 2537,             /* 8-byte decimal */
  BMTCLOCAL_D_FORMA_PAGTO_CNF = 2545,       /* signed 32-bit */
  BMTCLOCAL_D_TOTAL_PAGO = 2549,            /* 8-byte decimal */
  BMTCLOCAL_D_ESTADO_DOC = 2557,            /* 1 byte */
  BMTCLOCAL_D_ESTADO_DIA = 2558,            /* 1 byte */
  BMTCLOCAL_D_TAM_LINHA = 50,
  BMTCLOCAL_D_TAM_PAGTO = 39,
  BMTCLOCAL_D_MAX_PAGTOS = 30
};
extern unsigned char BMTCLOCAL_d[2559];

/* The record's descriptor. The address is pointer-sized; on 32-bit x86 the
   whole descriptor is 8 bytes: address, size 2559, type 2, flags. */
struct ECFIF_descritor_nvmem {
  void *endereco;
  unsigned short tamanho;
  unsigned char tipo;
  unsigned char flags; /* bit 0: the driver changed the record */
};
extern struct ECFIF_descritor_nvmem ECFIF_nvmem;
/* The address of ECFIF_nvmem, for the host to save and restore the record. */
void *ECFIF_aponta_nvmem(void);

#ifdef __cplusplus
}
#endif
#endif
