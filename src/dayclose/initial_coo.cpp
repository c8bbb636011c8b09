// "BMTCOOIN.TXT": the COO of the day's first document, which the printer's
// reduction data does not give. Written when the day begins and before each
// reduction, read with the reduction data.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/core.h"
#include "ecfbmtc/dayclose.h"

using namespace ecf::core;

namespace {

constexpr const char *arquivo_coo = "BMTCOOIN.TXT";
constexpr int max_digitos = 6;
constexpr long limite_coo = 1000000;
constexpr int falha_gravacao = 82;
constexpr int falha_leitura = 83;

// The printer's COO from the answer of variable 6 (three BCD bytes).
long coo_da_resposta() {
  char digitos[8] = {};
  unsigned char bcd[3];
  resposta::copia_dados(bcd, 0, 3);
  ECFBMTCAUX_bcd_para_asciiz(digitos, bcd, 3);
  long v = 0;
  for (int i = 0; i < max_digitos && digitos[i] >= '0' && digitos[i] <= '9'; ++i)
    v = v * 10 + (digitos[i] - '0');
  return v;
}

int grava_arquivo(const char *texto) {
  const int len = static_cast<int>(std::strlen(texto));
  errno = 0;
  const arquivos::Arquivo f = arquivos::abre_escrita(arquivo_coo);
  if (f && arquivos::escreve(f, texto, static_cast<std::size_t>(len))) return 0;
  const int erro = errno;
  registra(log_protocolo, "gr(%s,%db):errno=%d.", arquivo_coo, len, erro);
  return falha_gravacao;
}

}  // namespace

extern "C" {

int ECFBMTCAUX_grava_coo_inicial(int n) {
  if (const int r = ECFBMTC_le_parametro(var::coo); r != 0) return r;
  long coo = coo_da_resposta();
  for (int i = 0; i < n; ++i) {
    coo = (coo + 1) % limite_coo;
    if (coo == 0) coo = 1;
  }
  char texto[24];
  std::snprintf(texto, sizeof texto, "%ld", coo);
  const int g = grava_arquivo(texto);
  if (g == 0)
    registra(log_protocolo, "gr(%s,%s).", arquivo_coo, texto);
  else
    registra(log_protocolo, "gr(%s,%s)=%d.", arquivo_coo, texto, g);
  return g;
}

void ECFBMTCAUX_garante_coo_inicial(void) {
  if (::access(arquivo_coo, F_OK) == 0) return;
  if (errno != ENOENT) {
    registra(log_protocolo, "access(%s):errno=%d.", arquivo_coo, errno);
    return;
  }
  registra(log_protocolo, "%s inexiste.", arquivo_coo);
  ECFBMTCAUX_grava_coo_inicial(1);
}

int ECFBMTCAUX_le_de_arquivo_coo_inicial(char *texto) {
  if (texto == nullptr) return 2;
  texto[0] = '\0';
  errno = 0;
  const arquivos::Arquivo f = arquivos::abre_leitura(arquivo_coo);
  const long n = f ? arquivos::le(f, texto, max_digitos) : -1;
  const int erro = errno;
  if (n < 0) {
    texto[0] = '\0';
    registra(log_protocolo, "le(%s,%db):errno=%d.", arquivo_coo, max_digitos, erro);
    registra(log_protocolo, "le(%s)=%d.", arquivo_coo, falha_leitura);
    return falha_leitura;
  }
  texto[n] = '\0';
  registra(log_protocolo, "le(%s)=\"%s\".", arquivo_coo, texto);
  registra(log_protocolo, "le(%s):\"%s\".", arquivo_coo, texto);
  return 0;
}

}  // extern "C"
