/* The host's clock library. */
#ifndef ECF_PLATFORM_CLOCK_H
#define ECF_PLATFORM_CLOCK_H
#ifdef __cplusplus
extern "C" {
#endif

struct BIOSRTC_timeb {
  long segundos;
  unsigned short milissegundos;
};
long BIOSRTC_tempo_sistema(long *destino); /* whole seconds; also stored when destino != 0 */
void BIOSRTC_ftime(struct BIOSRTC_timeb *agora);
int BIOSRTC_le(
    unsigned char momento[6]); /* BCD day, month, year (2 digits), hour, minute, second */
long BIOSRTC_calc_momento(
    const unsigned char momento[6]); /* that record in seconds from a fixed origin */

#ifdef __cplusplus
}
#endif
#endif
