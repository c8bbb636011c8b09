// The line buffer's flush as the dispatcher calls it. No line can be
// buffered yet, so the buffer is always empty: nothing to print.
extern "C" int BMTCLOCAL_imprime_buffer(void) { return 0; }
