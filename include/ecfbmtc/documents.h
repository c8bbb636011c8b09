/* libecfbmtc: documents operations. */
#ifndef ECFBMTC_DOCUMENTS_H
#define ECFBMTC_DOCUMENTS_H
#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif
#endif
