// The ends of the non-fiscal and linked receipts that the closing hands over
// to, until their header declares them.
#ifndef ECF_RECEIPT_DEPS_H
#define ECF_RECEIPT_DEPS_H

extern "C" {
int ECFIF_fim_cnf(void);
int ECFIF_fim_cnf_vinc(void);
int BMTCLOCAL_cnf_eh_simulado(int codigo);
}

#endif
