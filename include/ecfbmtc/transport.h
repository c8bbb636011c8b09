/* libecfbmtc: transport operations. */
#ifndef ECFBMTC_TRANSPORT_H
#define ECFBMTC_TRANSPORT_H
#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif
#endif
