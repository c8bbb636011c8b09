/* libecfbmtc: transport operations. Command dispatch, frame exchange, status
   decoding, printer variable reads, repeat codes and release. */
#ifndef ECFBMTC_TRANSPORT_H
#define ECFBMTC_TRANSPORT_H
#ifdef __cplusplus
extern "C" {
#endif

/* Command dispatch. Argument bytes are sent as given (see the class flags). */
int ECFBMTC_exec(int comando);
int ECFBMTC_exec_argum(int comando, const unsigned char *argumentos, int tamanho);
int ECFBMTC_exec_argum_(int comando, const unsigned char *argumentos, int tamanho);
/* comando is the wire code here; tamanho_resposta the answer's data bytes. */
int ECFBMTC_executa(int comando, const unsigned char *argumentos, int tamanho, int tamanho_resposta,
                    unsigned char classe);
int ECFBMTC_executa_(int comando, const unsigned char *argumentos, int tamanho,
                     int tamanho_resposta, unsigned char classe);

/* Bit n lives in byte n / 8, at position n % 8. */
void BMTCLOCAL_seta_bit(unsigned char *bits, int n);
void BMTCLOCAL_reseta_bit(unsigned char *bits, int n);
int BMTCLOCAL_testa_bit(const unsigned char *bits, int n);

/* The last answer: byte 0 06h, byte 1 ST1, byte 2 ST2, data from byte 3. */
extern unsigned char *ECFIF_buffer_protocolo;
extern int ECFIF_tam_resposta_ecf;
extern unsigned char ECFIF_retornado[301];
extern int ECFIF_tam_retorno;
extern int ECFIF_maxtam_resposta; /* largest answer copied to ECFIF_retornado; 300 */
extern int ECFIF_ultimo_comando;  /* wire code of the last command prepared */

/* Waits, yielding to the host. Both return 0. */
int ECFBMTCAUX_retardo(unsigned segundos);
int ECFBMTCAUX_ms_retardo(int ms);

/* Status decoding. */
extern int ECFBMTCAUX_status_execucao; /* extended protocol execution status */
extern int ECFBMTC_ultima_falha;       /* failure of the last refused command */

/* Printer variable and state reads. */
int ECFBMTC_le_parametro(unsigned char v);
int ECFBMTC_le_status(void);
int ECFBMTC_le_estado_do_ecf(unsigned char *estado);
int ECFBMTC_le_bcd2(int pos);
int ECFBMTCAUX_bcd_para_texto(char *dst, const unsigned char *src, int n);
int ECFBMTCAUX_bcd_para_asciiz(char *dst, const unsigned char *src, int n);

/* Repeat codes, release and end of protocol. */
extern int ECFBMTCAUX_o_que_repetir;
int ECFIF_envelope_suportado(void);
int ECFIF_fim_protocolo(void);
int ECFIF_libera_memoria(void);

/* Runs again the operation the repeat code names (1 to 13), or sends the
   last command again (44 when there is none). */
int ECFIF_repete(void);

#ifdef __cplusplus
}
#endif
#endif
