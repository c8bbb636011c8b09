// Opening of the day and the check that the printer may be used: the
// Reduction-Z-due rule (the fiscal day turns at 02:00).
#include "core/core.h"
#include "dayclose/day_state.h"
#include "ecfbmtc/dayclose.h"
#include "ecfbmtc/setup.h"
#include "platform/platform.h"
#include "setup/day_number.h"
#include "setup/persistent_state.h"

using namespace ecf::core;

namespace {

constexpr int reducao_pendente = 16;
constexpr int data_adiante_do_relogio = 20;
constexpr int hora_da_virada = 2;

// ECFIF_abre succeeded inside ECFIF_abre_com_relat but the report did not
// open: running the latter again opens only the report.
bool g_aberto_sem_relatorio = false;
const Reinicio reinicio([] { g_aberto_sem_relatorio = false; });

void envia_modo_linha_item() {
  const char *modo = ECFBMTCAUX_regitem_nlinha == 1   ? "rumo73152"
                     : ECFBMTCAUX_regitem_nlinha == 2 ? "rumo73151"
                                                      : nullptr;
  if (modo != nullptr)
    ECFBMTC_exec_argum(cmd::modo_linha_item, reinterpret_cast<const unsigned char *>(modo), 9);
}

}  // namespace

extern "C" {

int BMTCLOCAL_verifica_ReducaoZ(void) {
  if (const int r = ECFBMTC_le_parametro(var::data_movimento); r != 0) return r;
  unsigned char m[3];
  resposta::copia_dados(m, 0, 3);
  if (m[0] == 0 && m[1] == 0 && m[2] == 0) return 0;
  const long movimento = ecf::setup::numero_do_dia(m[0], m[1], m[2]);
  if (const int r = ECFBMTC_le_parametro(var::relogio); r != 0) return r;
  unsigned char c[6];
  resposta::copia_dados(c, 0, 6);
  const long d = ecf::setup::numero_do_dia(c[0], c[1], c[2]) - movimento;
  const int hora = (c[3] >> 4) * 10 + (c[3] & 0x0F);
  if (d < 0) return data_adiante_do_relogio;
  if (d == 0 || (d == 1 && hora < hora_da_virada)) return 0;
  return reducao_pendente;
}

int ECFIF_verifica(void) {
  registra(log_interface, "verifica()");
  if (const int r = ECFBMTC_le_status(); r != 0) return r;
  const unsigned char st1 = ECFIF_buffer_protocolo[1];
  if (st1 & 0x80) return 11;
  if (st1 & 0x10) return 12;
  return BMTCLOCAL_verifica_ReducaoZ();
}

int ECFIF_abre(void) {
  registra(log_interface, "abre()");
  ECFBMTCAUX_garante_coo_inicial();
  if (eh_mfd()) envia_modo_linha_item();
  ECFBMTC_le_arquivo_CFG(nullptr);
  if (ECFIF_inicio_dia_com_lx) {
    if (const int r = ECFIF_leitura_x(); r != 0) return r;
  }
  ecf::nv::muda_estado_dia(dia::aberto);
  return 0;
}

int ECFIF_abre_com_relat(void) {
  registra(log_interface, "abre_com_relat()");
  marca_repeticao(Repete::ultimo_comando);
  if (!eh_mfd()) {
    ECFBMTCAUX_garante_coo_inicial();
    ECFBMTC_le_arquivo_CFG(nullptr);
  } else if (!g_aberto_sem_relatorio) {
    // A failed opening is repeated whole: the day has not begun.
    if (const int r = ECFIF_abre(); r != 0) {
      marca_repeticao(Repete::abre_com_relat);
      return r;
    }
    g_aberto_sem_relatorio = true;
  }
  if (const int r = ecf::dayclose::abre_relatorio_do_dia(); r != 0) {
    marca_repeticao(Repete::abre_com_relat);
    return r;
  }
  g_aberto_sem_relatorio = false;
  return 0;
}

}  // extern "C"
