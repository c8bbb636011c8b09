/* libecfbmtc: configuration discovery, payment methods, tax rates, item limits. */
#ifndef ECFBMTC_CONFIG_H
#define ECFBMTC_CONFIG_H
#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif
#endif
