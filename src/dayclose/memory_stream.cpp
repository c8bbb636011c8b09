// Streamed fiscal-memory readings: command 8 with "R" or "r", whose lines the
// receiver hands, as they arrive, to the host's character and progress
// functions.
#include <cstdio>
#include <cstring>

#include "core/core.h"
#include "dayclose/memory_reading.h"

using namespace ecf::core;
using ecf::dayclose::Faixa;

namespace {

ECFIF_funcao_caractere funcao_caractere = nullptr;
ECFIF_funcao_progresso funcao_progresso = nullptr;
long linhas_lidas = 0;

const Reinicio reinicio([] {
  funcao_caractere = nullptr;
  funcao_progresso = nullptr;
  linhas_lidas = 0;
  BMTCLOCAL_chamou_em_disco = 0;
});

unsigned char traduz(unsigned char c) {
  switch (c) {
    case 171:
      return 'A';
    case 177:
    case 178:
      return 'O';
    case 181:
      return 'C';
    default:
      return c;
  }
}

// Each character as its byte value sign-extended; true when asked to stop.
bool passa(const char *texto) {
  if (funcao_caractere == nullptr) return false;
  for (const char *p = texto; *p != '\0'; ++p)
    if (funcao_caractere(static_cast<signed char>(*p)) != 0) return true;
  return false;
}

int mf_em_disco_faixa(Faixa faixa, const char *nome, const char *texto, int modo) {
  int r = 2;
  if (ecf::dayclose::faixa_valida(texto, faixa))
    r = ecf::dayclose::envia_leitura(faixa, texto, modo == 1 ? 'R' : 'r');
  registra(log_interface, "%s(%s,%d)=%d.", nome, texto::txt(texto), modo, r);
  return r;
}

// The host's own form: the text exactly as long as the range.
int mf_em_disco_host(ECFIF_funcao_caractere caractere, ECFIF_funcao_progresso progresso,
                     Faixa faixa, const char *nome, const char *texto, int modo) {
  const unsigned n = ecf::dayclose::tamanho_faixa(faixa);
  int r = 2;
  if (texto != nullptr && strnlen(texto, n + 1) == n && ecf::dayclose::faixa_valida(texto, faixa))
    r = ecf::dayclose::le_em_disco(caractere, progresso, faixa, texto, modo);
  registra(log_protocolo, "%s(,,%s,%d)=%d.", nome, texto::txt(texto), modo, r);
  return r;
}

}  // namespace

namespace ecf::dayclose {

int le_em_disco(ECFIF_funcao_caractere caractere, ECFIF_funcao_progresso progresso, Faixa faixa,
                const char *texto, int modo) {
  funcao_caractere = caractere;
  funcao_progresso = progresso;
  linhas_lidas = 0;
  BMTCLOCAL_chamou_em_disco = 1;
  const AoSair fim([] { BMTCLOCAL_chamou_em_disco = 0; });
  if (texto != nullptr)
    return faixa == Faixa::datas ? BMTCLOCAL_mf_em_disco_por_data(texto, modo)
                                 : BMTCLOCAL_mf_em_disco_por_reducao(texto, modo);
  Argumentos<13> a;
  a.texto("000000009999R");
  const int r = envia(cmd::leitura_mf, a);
  if (r == 0) {
    char fim_texto[] = "\nFim da leitura da Memoria.\n";
    passa(fim_texto);
  }
  return r;
}

}  // namespace ecf::dayclose

extern "C" {

unsigned char BMTCLOCAL_chamou_em_disco = 0;

int BMTCLOCAL_exec_funcoes(char *texto) {
  if (texto == nullptr) return 1;
  if (static_cast<unsigned char>(texto[0]) == 3) {
    passa("\nFim da leitura da MF.\n");
    return 0;
  }
  if (funcao_caractere != nullptr) {
    for (char *p = texto; *p != '\0'; ++p)
      *p = static_cast<char>(traduz(static_cast<unsigned char>(*p)));
    if (passa(texto)) return 1;
  }
  if (funcao_progresso != nullptr) {
    char linha[32];
    std::snprintf(linha, sizeof linha, "Linhas:%9ld", linhas_lidas);
    if (funcao_progresso(linha) != 0) return 1;
  }
  ++linhas_lidas;
  return 0;
}

int ECFIF_mf_em_disco(ECFIF_funcao_caractere caractere, ECFIF_funcao_progresso progresso) {
  int r = 2;
  if (caractere != nullptr || progresso != nullptr)
    r = ecf::dayclose::le_em_disco(caractere, progresso, Faixa::reducoes, nullptr, 1);
  registra(log_protocolo, "mf_em_disco()=%d.", r);
  return r;
}

int ECFIF_mf_em_disco_por_data(ECFIF_funcao_caractere caractere, ECFIF_funcao_progresso progresso,
                               const char *texto, int modo) {
  return mf_em_disco_host(caractere, progresso, Faixa::datas, "mf_em_disco_por_data", texto, modo);
}

int ECFIF_mf_em_disco_por_reducao(ECFIF_funcao_caractere caractere,
                                  ECFIF_funcao_progresso progresso, const char *texto, int modo) {
  return mf_em_disco_host(caractere, progresso, Faixa::reducoes, "mf_em_disco_por_reducao", texto,
                          modo);
}

int BMTCLOCAL_mf_em_disco_por_data(const char *texto, int modo) {
  return mf_em_disco_faixa(Faixa::datas, "mf_em_disco_por_data", texto, modo);
}

int BMTCLOCAL_mf_em_disco_por_reducao(const char *texto, int modo) {
  return mf_em_disco_faixa(Faixa::reducoes, "mf_em_disco_por_reducao", texto, modo);
}

}  // extern "C"
