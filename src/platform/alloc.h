/* The host's allocation library. */
#ifndef ECF_PLATFORM_ALLOC_H
#define ECF_PLATFORM_ALLOC_H
#ifdef __cplusplus
extern "C" {
#endif

int KALLOC_alocou(void *endereco_do_ponteiro,
                  unsigned tamanho);           /* non-zero: allocated, zero-filled */
int KALLOC_libera(void *endereco_do_ponteiro); /* 0; the pointer becomes null */

#ifdef __cplusplus
}
#endif
#endif
