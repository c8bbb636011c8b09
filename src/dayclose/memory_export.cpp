// The fiscal-memory export as the receiver sees it. No export runs yet, so
// the flag stays clear and no line is ever handed over.
extern "C" {
unsigned char BMTCLOCAL_chamou_em_disco = 0;
int BMTCLOCAL_exec_funcoes(char *texto) {
  return texto == nullptr ? 1 : 0;
}
}
