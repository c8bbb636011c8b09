// Detail-tape exports: the download program reads the printer's detail-tape
// memory into a file, the model's converter turns it into "GER_LEIT.TXT",
// and the result is signed to the host's name. Programs are started without
// a shell, each argument one word.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/core.h"
#include "dayclose/memory_reading.h"
#include "platform/platform.h"

using namespace ecf::core;

namespace {

constexpr const char *retorno_download = "LinuxMFD.ret";
// A whole detail-tape memory at 9600 baud takes hours; past these the
// program is taken as hung and stopped.
constexpr int limite_download_s = 6 * 3600;
constexpr int limite_conversor_s = 3600;

enum class Tipo { datas = 1, coo = 2 };

bool digitos(const char *t, unsigned n) {
  for (unsigned i = 0; i < n; ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

bool faixa_valida(const char *texto, Tipo tipo) {
  if (texto == nullptr || strnlen(texto, 13) != 12) return false;
  if (tipo == Tipo::coo) return digitos(texto, 12);
  return ecf::dayclose::data_valida(texto) && ecf::dayclose::data_valida(texto + 6);
}

// Four digits of a variable's first two data bytes, as information codes 31
// and 42 answer them.
int le_numero(unsigned char variavel, int &numero) {
  const int r = ECFBMTC_le_parametro(variavel);
  if (r != 0) return r;
  const uint8_t a = resposta::dado(0), b = resposta::dado(1);
  numero = (a >> 4) * 1000 + (a & 15) * 100 + (b >> 4) * 10 + (b & 15);
  return 0;
}

// The first line of the download program's result file as a number (no
// digits: 0); false when there is no such file.
bool le_retorno(long &numero) {
  const arquivos::Arquivo f = arquivos::abre_leitura(retorno_download);
  if (!f) return false;
  char linha[10] = {};
  const long n = arquivos::le(f, linha, 9);
  linha[n > 0 ? n : 0] = '\0';
  linha[std::strcspn(linha, "\r\n")] = '\0';
  numero = std::strtol(linha, nullptr, 10);
  return true;
}

int download(Tipo tipo, const char *texto, bool apaga_download) {
  const std::string_view conversor = conversor_mfd();
  if (conversor.empty()) return nao_disponivel;
  int numero_42 = 0, numero_31 = 0;
  if (const int r = le_numero(var::alteracoes_cgc, numero_42); r != 0) return r;
  if (const int r = le_numero(var::fabricacao, numero_31); r != 0) return r;

  char inicio[7] = {}, fim[7] = {};
  std::memcpy(inicio, texto, 6);
  std::memcpy(fim, texto + 6, 6);
  char nome_download[32], porta[32], tipo_txt[8], n42[16], programa[32];
  std::snprintf(nome_download, sizeof nome_download, "MD%s.%03d", inicio, numero_31);
  std::snprintf(porta, sizeof porta, "/dev/ttyS%d", ECFIF_porta_serial - 1);
  std::snprintf(tipo_txt, sizeof tipo_txt, "%d", static_cast<int>(tipo));
  std::snprintf(n42, sizeof n42, "%d", numero_42);

  ECFIF_fim_protocolo();
  arquivos::remove(retorno_download);
  const char *const baixa[] = {"./LinuxMFD", porta, nome_download, tipo_txt,
                               inicio,       fim,   n42,           nullptr};
  if (arquivos::executa(baixa, limite_download_s) < 0) return 81;
  long retorno = 0;
  if (!le_retorno(retorno)) return 82;
  if (retorno != 0) return 83;

  // What the converter leaves is the export: an older file must not pass
  // for it.
  using ecf::dayclose::arquivo_leitura;
  arquivos::remove(arquivo_leitura);
  std::snprintf(programa, sizeof programa, "./%.*s", static_cast<int>(conversor.size()),
                conversor.data());
  const char *const converte[] = {programa, arquivo_leitura, nome_download, tipo_txt, inicio, fim,
                                  n42,      nullptr};
  if (arquivos::executa(converte, limite_conversor_s) < 0 || !arquivos::existe(arquivo_leitura))
    return 81;
  if (apaga_download) arquivos::remove(nome_download);
  return 0;
}

int mfd_em_arq(Tipo tipo, const char *nome, const char *arquivo, int *zera, const char *texto) {
  using ecf::dayclose::arquivo_leitura;
  int r = 2;
  if (arquivo != nullptr && faixa_valida(texto, tipo)) {
    arquivos::remove(arquivo);
    const bool apaga = tipo == Tipo::coo || std::strncmp(texto, texto + 6, 6) != 0;
    r = download(tipo, texto, apaga);
    if (r == 0 && zera != nullptr) *zera = 0;
  }
  registra(log_protocolo, "%s(%s,%s)=%d.", nome, arquivo_leitura, texto::txt(texto), r);
  return r == 0 ? ECFIF_assina_paf(arquivo_leitura, arquivo) : r;
}

}  // namespace

extern "C" {

int ECFIF_mfd_em_arq_por_coo(const char *arquivo, int *zera, const char *texto) {
  return mfd_em_arq(Tipo::coo, "mfd_em_arq_por_coo", arquivo, zera, texto);
}

int ECFIF_mfd_em_arq_por_coo_com_refer(const char *arquivo, int *zera, const char *texto,
                                       const char *referencia) {
  registra(log_protocolo, "mfd_em_arq_por_coo_com_refer(%s,,%s,%s)...", texto::txt(arquivo),
           texto::txt(texto), texto::txt(referencia));
  return ECFIF_mfd_em_arq_por_coo(arquivo, zera, texto);
}

int ECFIF_mfd_em_arq_por_data(const char *arquivo, int *zera, const char *texto) {
  return mfd_em_arq(Tipo::datas, "mfd_em_arq_por_data", arquivo, zera, texto);
}

}  // extern "C"
