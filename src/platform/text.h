/* The host's character filter, argument helpers and currency words. */
#ifndef ECF_PLATFORM_TEXT_H
#define ECF_PLATFORM_TEXT_H
#ifdef __cplusplus
extern "C" {
#endif

int K8859_filtra_carac(int c);
const char *TRATARG_compara(const char *texto, const char *palavra, int modo);
int TRATARG_pegou_int(int *destino, const char *texto, const char *palavra, int modo);
extern char EXTENSO_txt_moeda_sing[22];
extern char EXTENSO_txt_moeda_plur[22];

#ifdef __cplusplus
}
#endif
#endif
