// Operations of other parts of the driver that the transport calls.
#pragma once

extern "C" {
// Prints the free text waiting in the line buffer.
int BMTCLOCAL_imprime_buffer(void);
// Set while a fiscal-memory reading is exported line by line.
extern unsigned char BMTCLOCAL_chamou_em_disco;
// Takes one streamed line of that export; non-zero asks to stop.
int BMTCLOCAL_exec_funcoes(char *texto);
// The payment-method cache, released with the transport buffers.
extern unsigned char *ECFBMTC_formas_pagto;
}
