// What the fiscal-memory readings and exports share: range texts, the
// command 8 argument and the streamed reading behind the host's functions.
#pragma once

#include "ecfbmtc/dayclose.h"

namespace ecf::dayclose {

enum class Faixa { datas, reducoes };

inline constexpr const char *arquivo_leitura = "GER_LEIT.TXT";

// A date DDMMYY that exists (years 00-99 as 2000-2099).
bool data_valida(const char *t);
// The first 12 (dates: two valid dates) or 8 (reductions: digits)
// characters of `texto` form a range; a null or shorter text does not.
bool faixa_valida(const char *texto, Faixa faixa);
inline unsigned tamanho_faixa(Faixa faixa) {
  return faixa == Faixa::datas ? 12 : 8;
}

// Sends command 8 for the range with the letter; the text must be valid.
int envia_leitura(Faixa faixa, const char *texto, char letra);

// A streamed reading of the range into the host's functions (the text must
// be valid), or of the whole memory when `texto` is null.
int le_em_disco(ECFIF_funcao_caractere caractere, ECFIF_funcao_progresso progresso, Faixa faixa,
                const char *texto, int modo);

}  // namespace ecf::dayclose
