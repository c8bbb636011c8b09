// The payment-method cache. Nothing loads it yet; the release of the
// driver's memory frees it with the transport buffers.
extern "C" {
unsigned char* ECFBMTC_formas_pagto = nullptr;
unsigned char ECFBMTC_carregou_fpag = 0;
}
