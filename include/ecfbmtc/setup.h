/* libecfbmtc: setup operations. */
#ifndef ECFBMTC_SETUP_H
#define ECFBMTC_SETUP_H
#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif
#endif
