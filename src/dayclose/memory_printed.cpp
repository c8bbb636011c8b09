// Printed fiscal-memory readings (command 8 with "I" or "i") and the fixed
// answers of the fiscal-memory family.
#include "core/core.h"
#include "dayclose/memory_reading.h"

using namespace ecf::core;
using ecf::dayclose::Faixa;

namespace {

int imprime(Faixa faixa, char letra, const char *nome, const char *texto) {
  int r = 2;
  if (ecf::dayclose::faixa_valida(texto, faixa))
    r = ecf::dayclose::envia_leitura(faixa, texto, letra);
  registra(log_interface, "%s(%s)=%d.", nome, texto::txt(texto), r);
  return r;
}

int mfd_em_disco() {
  return nao_disponivel;
}

}  // namespace

extern "C" {

int ECFIF_mf_le_por_data(const char *texto) {
  return imprime(Faixa::datas, 'I', "mf_le_por_data", texto);
}
int ECFIF_mf_le_simpl_por_data(const char *texto) {
  return imprime(Faixa::datas, 'i', "mf_le_simpl_por_data", texto);
}
int ECFIF_mf_le_por_reducoes(const char *texto) {
  return imprime(Faixa::reducoes, 'I', "mf_le_por_reducoes", texto);
}
int ECFIF_mf_le_simpl_por_reducoes(const char *texto) {
  return imprime(Faixa::reducoes, 'i', "mf_le_simpl_por_reducoes", texto);
}

int ECFIF_mf_aborta_leitura(void) {
  registra(log_interface, "mf_aborta_leitura()");
  return nao_disponivel;
}

int ECFIF_mf_estat(void) {
  registra(log_interface, "mf_estat()");
  return 0;
}

int ECFIF_mfd_em_disco_por_coo(void) {
  return mfd_em_disco();
}
int ECFIF_mfd_em_disco_por_data(void) {
  return mfd_em_disco();
}

int ECFIF_mf_dia_livre(void) {
  const int r = ECFBMTC_le_parametro(var::flags_documento);
  if (r != 0) return tratado_como_ok("mf_dia_livre", r);
  const int livre = (resposta::dado(0) & 0x80) != 0 ? 5 : 0;
  registra(log_interface, "mf_dia_livre()=%d.", livre);
  return livre;
}

}  // extern "C"
