/* libecfbmtc: information queries, sensors, drawer, clock and daylight saving. */
#ifndef ECFBMTC_INFO_H
#define ECFBMTC_INFO_H
#ifdef __cplusplus
extern "C" {
#endif

/* Longest answer of an information query, terminator included: the host's
   text buffer must hold this many bytes. */
#define ECFIF_TAM_TEXTO_INFO 97

/* Information queries. texto receives the zero-terminated answer for codigo
   (counters, totals, identity, national codes). 0 success; 2 texto null
   (codigo 0 returns 0 even then); 12 identity or serial number of a wrong
   length; 15 a code this printer does not answer; 42 no memory for the
   cache; else the failure of the printer exchange. On a failure texto is
   empty. ECFIF_le_info forgets what earlier queries read; ECFIF_le_info_modo
   keeps it while modo is 0, so a series of queries reads each thing once.
   Each query may send up to five tries of one read (each bounded by the
   transport's time-outs). */
int ECFIF_le_info(char *texto, int codigo);
int ECFIF_le_info_modo(char *texto, int codigo, int modo);

/* Sensors: a 5-byte record in ECFIF_retornado (ECFIF_tam_retorno = 5).
   Byte 0 drawer (mask value 2), 1 paper end (4), 2 always 1 (16), 3 sensor
   variable 20 (1), 4 always 0 (8). Bytes not asked for stay 0.
   ECFIF_le_sensores asks for all of them (mask 31). */
int ECFIF_le_sensores(void);
int ECFIF_le_selec_sensores(int mascara);
int ECFIF_tem_doc_autent(void); /* always 0 */

/* Opens the cash drawer with a pulse of ECFBMTC_tempo_pulso_gaveta. */
int ECFIF_abre_gaveta(void);

/* Clock: an 8-byte record in ECFIF_retornado (ECFIF_tam_retorno = 8): BCD
   day, month, 20h, year, hour, minute, second, then 1 while daylight
   saving time is in effect. A failure sets the repeat code 2.
   ECFIF_le_datalida also copies the record to destino (8 bytes; null: 2). */
int ECFIF_le_relogio(void);
int ECFIF_le_datalida(void *destino);

/* Daylight saving time on / off; the printer is told only when its state has
   to change (printers accept it only after a Reduction Z). */
int ECFIF_entra_verao(void);
int ECFIF_sai_verao(void);

#ifdef __cplusplus
}
#endif
#endif
