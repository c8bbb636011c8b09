/* The host's serial port library. Port numbers start at 1. */
#ifndef ECF_PLATFORM_SERIAL_H
#define ECF_PLATFORM_SERIAL_H
#ifdef __cplusplus
extern "C" {
#endif

int nSERIALconf(int porta, long velocidade, int stop_bits, int paridade, int bits_dados,
                int controle_fluxo);
int n_ativaSERIAL(int porta);
int nSERIALreset(int porta);
int nSERIALativaDTR(int porta);
int nSERIALmodoRTS(int porta, int modo);
int nSERIALativaRTS(int porta);
int nSERIALiniciaTX(int porta);
int nSERIALiniciaRX(int porta);         /* also discards pending input */
int nSERIAL_CTSativo(int porta);        /* non-zero: the printer allows sending */
int nSERIALtransm(int porta, int byte); /* 0 taken, 1 not now, other fault */
int nSERIALstatusTX(int porta);         /* > 0 while bytes wait to leave */
int nSERIALleRX(int porta);             /* 0..255, or -1 when nothing arrived */
int nSERIALerro(int porta, int limpa);  /* bit 0 parity, 1 overrun, 2 framing */
int nSERIALencerra(int porta);
void SERIPC_escalador(void);

#ifdef __cplusplus
}
#endif
#endif
