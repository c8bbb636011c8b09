/* libecfbmtc: info operations. */
#ifndef ECFBMTC_INFO_H
#define ECFBMTC_INFO_H
#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif
#endif
