/* libecfbmtc: receipt operations. */
#ifndef ECFBMTC_RECEIPT_H
#define ECFBMTC_RECEIPT_H
#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif
#endif
