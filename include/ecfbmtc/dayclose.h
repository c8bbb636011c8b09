/* libecfbmtc: dayclose operations. */
#ifndef ECFBMTC_DAYCLOSE_H
#define ECFBMTC_DAYCLOSE_H
#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif
#endif
