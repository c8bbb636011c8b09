// TEMPORARY until the transport and record land.
#pragma once
#include <cstdint>
extern "C" {
int ECFBMTC_exec_argum(int comando, const unsigned char *argumentos, int tamanho);
int ECFBMTC_exec(int comando);
int ECFBMTC_le_parametro(unsigned char v);
int ECFBMTC_le_estado_do_ecf(unsigned char *estado);
int ECFIF_libera_memoria(void);
int ECFIF_ajusta_carac(int c);
extern unsigned char *ECFIF_buffer_protocolo;
extern int ECFIF_tam_resposta_ecf;
extern unsigned char ECFIF_retornado[301];
extern int ECFIF_tam_retorno;
extern int ECFBMTCAUX_o_que_repetir;
extern int ECFBMTC_flags;
extern int ECFBMTCAUX_desativa_corte;
extern int ECFBMTCAUX_forca_multiplicacao;
extern int ECFBMTCAUX_forca_maximo_de_itens;
extern unsigned char BMTCLOCAL_d[2559];
struct ECFIF_descritor_nvmem { void *endereco; unsigned short tamanho; unsigned char tipo; unsigned char flags; };
extern struct ECFIF_descritor_nvmem ECFIF_nvmem;
}
