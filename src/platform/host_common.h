/* The host's common driver library. */
#ifndef ECF_PLATFORM_HOST_COMMON_H
#define ECF_PLATFORM_HOST_COMMON_H
#ifdef __cplusplus
extern "C" {
#endif

extern unsigned char ECFIF_cfg[100];
extern int ECFIF_porta_serial; /* 1 = first port */
extern int ECFIF_veloc_serial; /* bits per second */
extern int ECFIF_versao_firmware;
extern int ECFIF_inicio_dia_com_lx;
extern int (*ECFIF_pfunc_assina_paf)(const char *origem, const char *destino);
int ECFIF_envelope_inicia(void);
int ECFIF_envelope_termina(void);
int ECFIF_avisa_txt_motivo(int tipo, const char *texto);
void ECFCOMUM_escalador(void);
int ECFCOMUM_tratou_argumento(const char *argumento);

#ifdef __cplusplus
}
#endif
#endif
