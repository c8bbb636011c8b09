/* The host's log library. */
#ifndef ECF_PLATFORM_LOG_H
#define ECF_PLATFORM_LOG_H
#ifdef __cplusplus
extern "C" {
#endif

extern int ECFLOG_modo;
void ECFLOG_print(const char *formato, ...) __attribute__((format(printf, 1, 2)));
void ECFLOG_dump(const char *rotulo, const void *dados, int tamanho);

#ifdef __cplusplus
}
#endif
#endif
