/* libecfbmtc: transport operations. Command dispatch, frame exchange, status
   decoding, printer variable reads, repeat codes and release. A function
   that sends blocks as any command does (see ecfbmtc.h). */
#ifndef ECFBMTC_TRANSPORT_H
#define ECFBMTC_TRANSPORT_H
#ifdef __cplusplus
extern "C" {
#endif

/* Command dispatch: comando is a printer command 0 to 255 or a two-byte
   pseudo-command 6248 to 6287. Argument bytes are sent as given, after the
   line buffer is printed (except for reads). 15 for a negative command, 2
   for commands 8 and 35 without arguments; else the exchange's result. */
int ECFBMTC_exec(int comando);
int ECFBMTC_exec_argum(int comando, const unsigned char *argumentos, int tamanho);
int ECFBMTC_exec_argum_(int comando, const unsigned char *argumentos, int tamanho);
/* comando is the wire code here; tamanho_resposta the answer's data bytes. */
int ECFBMTC_executa(int comando, const unsigned char *argumentos, int tamanho, int tamanho_resposta,
                    unsigned char classe);
int ECFBMTC_executa_(int comando, const unsigned char *argumentos, int tamanho,
                     int tamanho_resposta, unsigned char classe);

/* Bit n lives in byte n / 8, at position n % 8. Send nothing. */
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

/* Waits of the given length, yielding to the host. Both return 0. */
int ECFBMTCAUX_retardo(unsigned segundos);
int ECFBMTCAUX_ms_retardo(int ms);

/* Status decoding. */
extern int ECFBMTCAUX_status_execucao; /* extended protocol execution status */
extern int ECFBMTC_ultima_falha;       /* failure of the last refused command */

/* Printer variable v (command 35; up to 5 attempts), its data from byte 3
   of the answer. */
int ECFBMTC_le_parametro(unsigned char v);
/* Status (command 19; up to 10 attempts, 3 s apart, with an operator notice
   meanwhile): ST1 and ST2 in answer bytes 1 and 2. */
int ECFBMTC_le_status(void);
/* The printer's document state into *estado (1, 2, 51, 52 none open; 3, 6, 7
   fiscal receipt; 4 non-fiscal; 5 linked; 9 report). *estado is left alone
   on failure. */
int ECFBMTC_le_estado_do_ecf(unsigned char *estado);
/* BCD helpers, send nothing: le_bcd2 packs the low digits of answer bytes
   pos and pos + 1; bcd_para_texto writes the 2 * n digits of n BCD bytes
   (returns 2 * n, no terminator); bcd_para_asciiz adds a NUL. */
int ECFBMTC_le_bcd2(int pos);
int ECFBMTCAUX_bcd_para_texto(char *dst, const unsigned char *src, int n);
int ECFBMTCAUX_bcd_para_asciiz(char *dst, const unsigned char *src, int n);

/* Repeat code: the operation the host's repeat call runs again (0 none). */
extern int ECFBMTCAUX_o_que_repetir;
int ECFIF_envelope_suportado(void); /* always 1 */
/* Closes the serial port and frees the driver's buffers; the next command
   opens the port again. Sends nothing. */
int ECFIF_fim_protocolo(void);
/* Frees the driver's buffers (answer, pending command, payment methods).
   Sends nothing. */
int ECFIF_libera_memoria(void);

#ifdef __cplusplus
}
#endif
#endif
