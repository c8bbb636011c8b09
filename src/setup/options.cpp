// Host options and the driver settings they set.
#include <cstring>

#include "core/reset.h"
#include "ecfbmtc/setup.h"
#include "platform/platform.h"

extern "C" {

int ECFBMTC_flags;
int ECFBMTCAUX_logica_gaveta;
int ECFBMTCAUX_forca_multiplicacao;
int ECFBMTCAUX_modo_protocolo;
int ECFBMTCAUX_codigo_cbranco;
int ECFBMTCAUX_acerta_relogio;
int ECFBMTCAUX_modo_acerta_relogio;
int ECFBMTCAUX_desativa_corte;
int ECFBMTCAUX_regitem_nlinha;
int ECFBMTCAUX_tipo_codbar;
int ECFBMTCAUX_margem_codbar;
int ECFBMTCAUX_altura_codbar;
int ECFBMTCAUX_barra_codbar;
int ECFBMTCAUX_fonte_codbar;
int ECFBMTCAUX_pos_txt_codbar;
int ECFBMTCAUX_forca_maximo_de_itens;
unsigned char ECFBMTC_tempo_pulso_gaveta;
int ECFBMTC_num_tetativas_autenticacao;
int ECFBMTC_tipo_relger;
char ECFBMTC_unidade_do_item[3];
int ECFIF_maxtam_resposta;

}  // extern "C"

namespace {

// The load-time values of the settings.
void valores_iniciais() {
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
const ecf::core::Reinicio reinicio(valores_iniciais);

}  // namespace

namespace {

// Tested in this order after the "ECFBEMATECH_" prefix; the first match wins.
struct Option {
  const char *word;
  int *setting;
  bool number;  // "WORD=<n>"; otherwise the whole word sets the flag to 1
};

const Option opcoes_bematech[] = {
    {"GAVETA_FECHADA", &ECFBMTCAUX_logica_gaveta, false},
    {"MULTIPLIC=", &ECFBMTCAUX_forca_multiplicacao, true},
    {"PROTOCOLO=", &ECFBMTCAUX_modo_protocolo, true},
    {"CODIGO_CBRANCO", &ECFBMTCAUX_codigo_cbranco, false},
    {"ACERTA_RELOGIO", &ECFBMTCAUX_acerta_relogio, false},
    {"MODO_ACERTA_RELOGIO=", &ECFBMTCAUX_modo_acerta_relogio, true},
    {"DESATIVA_CORTE_EM_DOCUMENTO", &ECFBMTCAUX_desativa_corte, false},
    {"REGITEM_NLINHA=", &ECFBMTCAUX_regitem_nlinha, true},
    {"TIPO_CODBAR=", &ECFBMTCAUX_tipo_codbar, true},
    {"MARGEM_CODBAR=", &ECFBMTCAUX_margem_codbar, true},
    {"ALTURA_CODBAR=", &ECFBMTCAUX_altura_codbar, true},
    {"BARRA_CODBAR=", &ECFBMTCAUX_barra_codbar, true},
    {"FONTE_CODBAR=", &ECFBMTCAUX_fonte_codbar, true},
    {"POSTXT_CODBAR=", &ECFBMTCAUX_pos_txt_codbar, true},
    {"MAXIMO_DE_ITENS=", &ECFBMTCAUX_forca_maximo_de_itens, true},
};

constexpr int prefixo = 1;
constexpr int inteiro = 3;

}  // namespace

extern "C" int ECFIF_tratou_argumento(const char *arg) {
  // No option at all is nobody's: the host's handler is spared a null text.
  if (arg == nullptr) return 0;
  if (TRATARG_compara(arg, "ECFBMTC_FLAGS=", prefixo) != nullptr) {
    TRATARG_pegou_int(&ECFBMTC_flags, arg, "ECFBMTC_FLAGS=", prefixo);
    return 1;
  }
  const char *resto = TRATARG_compara(arg, "ECFBEMATECH_", prefixo);
  if (resto == nullptr) return ECFCOMUM_tratou_argumento(arg);
  for (const Option &o : opcoes_bematech) {
    if (o.number) {
      if (TRATARG_pegou_int(o.setting, resto, o.word, prefixo)) break;
    } else if (TRATARG_compara(resto, o.word, inteiro) != nullptr) {
      *o.setting = 1;
      break;
    }
  }
  return 1;
}
