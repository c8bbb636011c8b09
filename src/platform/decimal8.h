/* The host's 8-byte decimal arithmetic library. The driver never looks inside
   a value; eight zero bytes are zero. */
#ifndef ECF_PLATFORM_DECIMAL8_H
#define ECF_PLATFORM_DECIMAL8_H
#ifdef __cplusplus
extern "C" {
#endif

void _ato8(void *valor, const char *texto);
char *_8toa(char *texto, const void *valor);
void _8soma(void *resultado, const void *a, const void *b);
void _8subtrai(void *resultado, const void *a, const void *b);
int _8compara(const void *a, const void *b);
void _8byte_som_byte(void *resultado, const void *a, int n);
void _8byte_mul_byte(void *resultado, const void *a, int n);

#ifdef __cplusplus
}
#endif
#endif
