#include "documents/document_slot.h"

#include "core/core.h"
#include "ecfbmtc/cheques.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"

namespace ecf::documentos {
using namespace ecf::core;
namespace {

inline constexpr int resposta_curta = 12;  // an answer without its data
inline constexpr int tempo_esgotado = 37;

// Polls until `pronto` holds for the status byte, showing `aviso` while it
// does not. 0 when ready, the poll's failure, or 37 when the time ran out.
template <typename Pronto>
int espera_sensor(int aviso, Pronto pronto) {
  for (int esperado = 0;; esperado += intervalo_sensor_ms) {
    unsigned char estado = 0;
    const int r = le_sensor(estado);
    if (r != 0 || pronto(estado)) return r;
    if (esperado >= espera_operador_ms) return tempo_esgotado;
    ECFIF_avisa_txt_motivo(aviso, nullptr);
    ECFBMTCAUX_ms_retardo(intervalo_sensor_ms);
  }
}

void fim_da_espera() {
  ECFIF_avisa_txt_motivo(aviso_limpa, nullptr);
  ECFBMTCAUX_retardo(1);
}

}  // namespace

int le_sensor(unsigned char &estado) {
  const int r = ECFBMTC_exec(cmd::sensor_documento);
  if (r != 0) return r;
  if (ECFIF_tam_resposta_ecf < 4) return resposta_curta;
  estado = ECFIF_buffer_protocolo[3];
  return 0;
}

int libera_documento() {
  return ECFBMTC_exec(cmd::libera_documento);
}

int espera_documento() {
  if (!tem_sensor_documento()) return 0;
  const int r =
      espera_sensor(aviso_insira, [](unsigned char e) { return !(e & bit_sem_documento); });
  fim_da_espera();
  return r == tempo_esgotado ? r : 0;
}

void espera_remocao(unsigned char bit) {
  if (!tem_sensor_documento()) return;
  espera_sensor(aviso_retire, [bit](unsigned char e) { return (e & bit) != 0; });
  fim_da_espera();
}

void avisa_falha() {
  ECFIF_avisa_txt_motivo(aviso_falha, "ImpressoraFalhou");
  ECFBMTCAUX_retardo(5);
  ECFIF_avisa_txt_motivo(aviso_limpa, nullptr);
}

}  // namespace ecf::documentos

extern "C" int ECFIF_sensores_ok(void) {
  ecf::core::registra(ecf::core::log_interface, "sensores_ok()");
  return 0;
}
