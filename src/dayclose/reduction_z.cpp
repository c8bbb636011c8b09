// Reduction Z: the initial COO of the next day, the reduction itself (with
// the clock correction when asked), and on the MFD models the wait until the
// printer has printed it.
#include "core/core.h"
#include "dayclose/clock_record.h"
#include "dayclose/day_state.h"
#include "ecfbmtc/dayclose.h"
#include "ecfbmtc/info.h"
#include "platform/platform.h"
#include "setup/persistent_state.h"

using namespace ecf::core;
using namespace ecf::dayclose;

namespace {

constexpr int sem_resposta = 37;
constexpr int relogio_curto = 30;

constexpr int espera_inicial_s = 5;
constexpr long espera_maxima_s = 7800;
constexpr int respostas_boas = 2;

constexpr long tolerancia_s = 60;
constexpr long correcao_maxima_s = 293;

bool relogio_sem_espaco() {
  return (ECFBMTCAUX_modo_acerta_relogio & 1) != 0 || data_hora_sem_espaco();
}

int reduz_ajustando_relogio() {
  if (const int r = ECFIF_le_relogio(); r != 0) return r;
  if (ECFIF_tam_retorno < 7) return relogio_curto;
  const unsigned char *c = ECFIF_retornado;
  Momento ecf{c[0], c[1], c[3], c[4], c[5], c[6]};
  Momento cpu{};
  BIOSRTC_le(cpu.data());
  const long diferenca = BIOSRTC_calc_momento(cpu.data()) - BIOSRTC_calc_momento(ecf.data());
  registra(log_protocolo,
           "ECF: %2x/%02x/%02x %2x:%02x:%02x    CPU: %2x/%02x/%02x %2x:%02x:%02x    "
           "Diferenca:%7ld segundos",
           ecf[0], ecf[1], ecf[2], ecf[3], ecf[4], ecf[5], cpu[0], cpu[1], cpu[2], cpu[3], cpu[4],
           cpu[5], diferenca);
  if (diferenca < -tolerancia_s) {
    // The printer is ahead: its clock may not go back past its last
    // document, so wait out the difference before setting it back.
    ECFIF_avisa_txt_motivo(3, "AjustandoRelogio");
    const long n = -diferenca < correcao_maxima_s ? -diferenca : correcao_maxima_s;
    ECFBMTCAUX_retardo(static_cast<unsigned>(n));
    ECFIF_avisa_txt_motivo(0, nullptr);
    tira_segundos(ecf, static_cast<int>(n));
  } else if (diferenca > tolerancia_s) {
    soma_segundos(ecf,
                  static_cast<int>(diferenca < correcao_maxima_s ? diferenca : correcao_maxima_s));
  }
  char texto[14];
  const std::size_t n = texto_do_momento(ecf, relogio_sem_espaco(), texto);
  return ECFBMTC_exec_argum(cmd::reducao_z, reinterpret_cast<const unsigned char *>(texto),
                            static_cast<int>(n));
}

// The MFD printer prints the reduction's detail after answering; it is done
// when two status reads in a row are answered.
void espera_fim_da_impressao() {
  registra(log_protocolo, "RZ:vai esperar bitmap(%dm).", static_cast<int>(espera_maxima_s / 60));
  ECFBMTCAUX_retardo(espera_inicial_s);
  const long prazo = BIOSRTC_tempo_sistema(nullptr) + espera_maxima_s;
  int boas = 0;
  for (;;) {
    if (BIOSRTC_tempo_sistema(nullptr) > prazo) {
      registra(log_protocolo, "RZ:timeout.");
      return;
    }
    ECFBMTCAUX_retardo(1);
    const int r = ECFBMTC_le_parametro(var::flags_documento);
    if (r == sem_resposta) {
      boas = 0;
    } else if (r != 0) {
      registra(log_protocolo, "RZ:saindo da espera(falha %d).", r);
      return;
    } else if (++boas == respostas_boas) {
      registra(log_protocolo, "RZ:fim do bitmap.");
      return;
    }
  }
}

}  // namespace

extern "C" {

int ECFIF_reducao_z(void) {
  marca_repeticao(Repete::ultimo_comando);
  ECFBMTCAUX_grava_coo_inicial(2);
  int r;
  if (ECFBMTCAUX_acerta_relogio) {
    r = reduz_ajustando_relogio();
    registra(log_protocolo, "reduz_ajustando_relogio()=%d.", r);
  } else {
    r = ecf::core::envia_documento("reducao_z", cmd::reducao_z);
    registra(log_interface, "reducao_z()=%d.", r);
  }
  ECFIF_libera_memoria();
  if (r != 0) {
    marca_repeticao(Repete::reducao_z);
    return r;
  }
  // Recorded before the wait, so a host that saves the record during the
  // wait and is stopped there does not reduce the day again.
  ecf::nv::muda_estado_doc(doc::nenhum);
  ecf::nv::muda_estado_dia(dia::reduzido);
  ecf::nv::muda_qtd_pagtos(0);
  leitura_x_sem_relatorio() = false;
  if (eh_mfd()) espera_fim_da_impressao();
  return 0;
}

int ECFIF_rz_sem_esperar(void) {
  registra(log_interface, "rz_sem_esperar()");
  return ECFIF_reducao_z();
}

int ECFIF_reducao_z_com_relat(void) {
  registra(log_interface, "reducao_z_com_relat()");
  return ECFIF_reducao_z();
}

int ECFIF_pode_reduzir(void) {
  registra(log_interface, "pode_reduzir()");
  return 1;
}

int ECFIF_pode_ler_rz(void) {
  registra(log_interface, "pode_ler_rz()");
  return eh_mfd() ? 1 : 0;
}

int ECFIF_pode_ler_dados_antes_da_rz(void) {
  registra(log_interface, "pode_ler_dados_antes_da_rz()");
  return 1;
}

int ECFIF_espera_terminar_reducao(void) {
  registra(log_interface, "espera_terminar_reducao()");
  return 0;
}

int ECFIF_inicio_nao_icms(void) {
  registra(log_interface, "inicio_nao_icms()");
  return nao_disponivel;
}

int ECFIF_final_nao_icms(void) {
  registra(log_interface, "final_nao_icms()");
  return nao_disponivel;
}

}  // extern "C"
