// Fiscal-memory readings exported to the host's file: streamed into
// "GER_LEIT.TXT", then signed (or renamed) to the host's name.
#include <cstdio>

#include "core/core.h"
#include "dayclose/memory_reading.h"

using namespace ecf::core;
using ecf::dayclose::Faixa;

namespace {

arquivos::Arquivo saida;
const Reinicio reinicio([] { saida = arquivos::Arquivo(); });

int escreve_caractere(int c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return arquivos::escreve(saida, &b, 1) ? 0 : 1;
}

int mf_em_arq(Faixa faixa, const char *nome, const char *arquivo, int *zera, const char *texto,
              int modo) {
  using ecf::dayclose::arquivo_leitura;
  // A request that cannot run leaves every file as it was.
  if (arquivo == nullptr || !ecf::dayclose::faixa_valida(texto, faixa)) {
    registra(log_protocolo, "%s(%s,%s,%d)=%d.", nome, arquivo_leitura, texto::txt(texto), modo, 2);
    return 2;
  }
  arquivos::remove(arquivo);
  saida = arquivos::abre_escrita(arquivo_leitura);
  if (!saida) return 81;
  int r = ecf::dayclose::le_em_disco(escreve_caractere, nullptr, faixa, texto, modo);
  // A failed flush on close loses data as surely as a failed write.
  if (std::fflush(saida.get()) != 0 && r == 0) r = 45;
  saida = arquivos::Arquivo();
  registra(log_protocolo, "%s(%s,%s,%d)=%d.", nome, arquivo_leitura, texto, modo, r);
  if (r == 0) r = ECFIF_assina_paf(arquivo_leitura, arquivo);
  if (zera != nullptr) *zera = 0;
  return r;
}

}  // namespace

extern "C" {

int ECFIF_mf_em_arq_por_data(const char *arquivo, int *zera, const char *texto, int modo) {
  return mf_em_arq(Faixa::datas, "mf_em_arq_por_data", arquivo, zera, texto, modo);
}

int ECFIF_mf_em_arq_por_reducao(const char *arquivo, int *zera, const char *texto, int modo) {
  return mf_em_arq(Faixa::reducoes, "mf_em_arq_por_reducao", arquivo, zera, texto, modo);
}

}  // extern "C"
