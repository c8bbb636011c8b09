// Back to the initial state between tests.
#include <cstring>
#include <functional>
#include <vector>

#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "platform_state.h"

namespace ecftest {

namespace {
std::vector<std::function<void()>> &hooks() {
  static std::vector<std::function<void()>> h;
  return h;
}

void reset_settings() {
  ECFBMTC_flags = 0;
  ECFBMTCAUX_logica_gaveta = 0;
  ECFBMTCAUX_forca_multiplicacao = 0;
  ECFBMTCAUX_modo_protocolo = 0;
  ECFBMTCAUX_codigo_cbranco = 0;
  ECFBMTCAUX_acerta_relogio = 0;
  ECFBMTCAUX_modo_acerta_relogio = 0;
  ECFBMTCAUX_desativa_corte = 0;
  ECFBMTCAUX_regitem_nlinha = 0;
  ECFBMTCAUX_tipo_codbar = 0;
  ECFBMTCAUX_margem_codbar = 2;
  ECFBMTCAUX_altura_codbar = 60;
  ECFBMTCAUX_barra_codbar = 2;
  ECFBMTCAUX_fonte_codbar = 0;
  ECFBMTCAUX_pos_txt_codbar = 2;
  ECFBMTCAUX_forca_maximo_de_itens = 0;
  ECFBMTC_tempo_pulso_gaveta = 20;
  ECFBMTC_num_tetativas_autenticacao = 4;
  ECFBMTC_tipo_relger = 1;
  std::memcpy(ECFBMTC_unidade_do_item, "UN", 3);
  ECFIF_maxtam_resposta = 300;
}
}  // namespace

void on_reset(std::function<void()> hook) {
  hooks().push_back(std::move(hook));
}

void reset() {
  detail::reset_clock();
  ECFLOG_modo = 0;
  ECFIF_fim_protocolo();  // releases the buffers and forgets the port set-up
  reset_settings();
  ECFIF_tam_resposta_ecf = 0;
  std::memset(ECFIF_retornado, 0, sizeof ECFIF_retornado);
  ECFIF_tam_retorno = 0;
  ECFIF_ultimo_comando = 0;
  ECFBMTCAUX_status_execucao = 0;
  ECFBMTC_ultima_falha = 0;
  ECFBMTCAUX_o_que_repetir = 0;
  std::memset(BMTCLOCAL_d, 0, sizeof BMTCLOCAL_d);
  ECFIF_nvmem.flags = 0;
  std::memset(ECFIF_cfg, 0, sizeof ECFIF_cfg);
  ECFIF_porta_serial = 1;
  ECFIF_veloc_serial = 9600;
  ECFIF_versao_firmware = 0;
  ECFIF_inicio_dia_com_lx = 0;
  ECFIF_pfunc_assina_paf = nullptr;
  for (auto &h : hooks()) h();
  detail::reset_line();
  detail::reset_host();
  detail::reset_clock();
}

}  // namespace ecftest
