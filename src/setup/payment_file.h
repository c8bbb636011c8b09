// Reader of the payment-method file: the "[FORMAS DE PAGAMENTO]" section and
// its keys 01=, 02=, ... The file is untrusted text.
#pragma once

#include <cstdio>

namespace ecf::setup::arquivo_fpag {

inline constexpr int tam_campo = 17;  // 16 characters and a zero byte
inline constexpr int max_chaves = 50;
inline constexpr int max_linha = 100;  // characters before the line end

using Campo = unsigned char[tam_campo];
using Filtro = int (*)(int);

// Fills campos[0..chaves) from keys 1..chaves (an absent or empty key leaves
// its field all zero). Returns 0 when at least one key had a value, 3 when
// the section is missing, 4 when it had no value. Every value character
// passes through filtro. A line ends at LF, CR LF or the end of the file.
int le_secao(std::FILE *arquivo, int chaves, Campo *campos, Filtro filtro);

}  // namespace ecf::setup::arquivo_fpag
