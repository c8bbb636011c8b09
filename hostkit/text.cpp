// Character filter, argument helpers and currency words.
#include "platform/text.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// What the printer prints for each Latin-1 byte from A0h on: accented letters
// lose their accent, a few signs get an ASCII look-alike, the rest a '?'.
constexpr std::string_view latin1_a0_ff =
    " !cL?Y|S\"ca\"--R-"  // A0-AF
    "o?23'uP.,1o\"???\?"  // B0-BF
    "AAAAAAACEEEEIIII"    // C0-CF
    "DNOOOOOxOUUUUY?s"    // D0-DF
    "aaaaaaaceeeeiiii"    // E0-EF
    "dnooooo/ouuuuy?y";   // F0-FF
static_assert(latin1_a0_ff.size() == 96);

constexpr char controle_c1 = ' ';  // 80h-9Fh carry no printable meaning

// Mode bit 1: the whole text must be the keyword; otherwise a prefix match.
constexpr int modo_texto_inteiro = 2;

}  // namespace

extern "C" int K8859_filtra_carac(int c) {
  // Callers may pass a plain (signed) char.
  if (c < 0 && c >= -128) c += 256;
  if (c < 0 || c > 0xFF) return '?';
  if (c < 0x80) return c;
  if (c < 0xA0) return controle_c1;
  return static_cast<unsigned char>(latin1_a0_ff[static_cast<std::size_t>(c - 0xA0)]);
}

extern "C" const char *TRATARG_compara(const char *texto, const char *palavra, int modo) {
  if (texto == nullptr || palavra == nullptr) return nullptr;
  const std::size_t n = std::strlen(palavra);
  if (std::strncmp(texto, palavra, n) != 0) return nullptr;
  if ((modo & modo_texto_inteiro) != 0 && texto[n] != '\0') return nullptr;
  return texto + n;
}

extern "C" int TRATARG_pegou_int(int *destino, const char *texto, const char *palavra, int modo) {
  const char *resto = TRATARG_compara(texto, palavra, modo);
  if (resto == nullptr || destino == nullptr) return 0;
  // Leading digits as atoi reads them, but clamped instead of undefined.
  errno = 0;
  const long v = std::strtol(resto, nullptr, 10);
  *destino = v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
  return 1;
}

extern "C" {
char EXTENSO_txt_moeda_sing[22] = " Real";
char EXTENSO_txt_moeda_plur[22] = " Reais";
}
