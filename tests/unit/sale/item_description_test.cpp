// The composed item description on Latin-1 text: one byte is one printed
// character, so lines break at the printer's column count whatever the
// letters, and control bytes never reach the paper.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ecfbmtc.h"
#include "platform/test_platform.h"
#include "receipt/item_description.h"

namespace {

struct Caso {
  const char *nome;
  std::string descricao;
  std::vector<std::string> linhas;  // stored with ECFIF_descritivo
  int largura;                      // first line
  int colunas;
  std::string esperado;
};

// Latin-1 "é", "ã", "ç".
constexpr char e_agudo = '\xE9', a_til = '\xE3', c_cedilha = '\xE7';

std::string n(std::size_t vezes, char c) {
  return std::string(vezes, c);
}

const Caso casos[] = {
    // 29 characters, the last accented: one line, nothing filled.
    {"AccentedLastOfFirstLine", n(28, 'x') + a_til, {}, 29, 48, n(28, 'x') + a_til},
    // 30 characters: the accented 30th begins the second line.
    {"AccentedFirstOfSecondLine",
     n(29, 'x') + e_agudo,
     {},
     29,
     48,
     n(29, 'x') + e_agudo + n(47, ' ')},
    {"AccentedOnlyText", n(40, c_cedilha), {}, 22, 40, n(40, c_cedilha) + n(22, ' ')},
    // A stored line of exactly the column count fills its line; the next
    // begins on a line of its own.
    {"StoredLinesOfFullWidth",
     std::string("Caf") + e_agudo,
     {n(47, 'y') + a_til, "P\xE3o"},
     29,
     48,
     "Caf" + n(1, e_agudo) + n(25, ' ') + n(47, 'y') + a_til + "P\xE3o" + n(45, ' ')},
    // A stored line longer than the columns keeps its first 48 characters.
    {"StoredLineCutAtColumns", "", {n(60, e_agudo)}, 29, 48, n(48, e_agudo) + n(29, ' ')},
    {"CutAtTwoHundred", n(250, a_til), {}, 29, 48, n(200, a_til)},
    // Control bytes print as blanks, one for one; letters and signs of
    // Latin-1 stay as they are.
    {"ControlBytesBecomeBlanks",
     "A\tB\nC\x1B"
     "D\x7F"
     "E\x85"
     "F\xA0G\xFF",
     {},
     29,
     48,
     "A B C D E F\xA0G\xFF" + n(15, ' ')},
    {"ControlBytesInStoredLine", "", {"x\ry\x9Bz"}, 0, 40, "x y z" + n(35, ' ')}};

TEST(ItemDescription, LaysOutLatin1Characters) {
  for (const Caso &c : casos) {
    SCOPED_TRACE(c.nome);
    ecftest::reset();
    ECFBMTC_num_col_ecf = c.colunas;
    for (std::size_t i = 0; i < c.linhas.size(); ++i)
      ECFIF_descritivo(static_cast<int>(i), c.linhas[i].c_str());
    const ecf::receipt::Descricao d(c.descricao.c_str(), c.largura, c.colunas);
    EXPECT_EQ(std::string(d.texto()), c.esperado);
  }
}

}  // namespace
