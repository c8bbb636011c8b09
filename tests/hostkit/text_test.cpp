// Character filter and argument helpers.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CharacterFilter, AccentedLettersLoseTheirAccent) {
  struct Caso {
    int entrada;
    char saida;
  };
  for (const Caso c :
       {Caso{0xE1, 'a'}, Caso{0xE3, 'a'}, Caso{0xE2, 'a'}, Caso{0xC1, 'A'}, Caso{0xC3, 'A'},
        Caso{0xE7, 'c'}, Caso{0xC7, 'C'}, Caso{0xE9, 'e'}, Caso{0xEA, 'e'}, Caso{0xC9, 'E'},
        Caso{0xED, 'i'}, Caso{0xCD, 'I'}, Caso{0xF3, 'o'}, Caso{0xF4, 'o'}, Caso{0xF5, 'o'},
        Caso{0xD5, 'O'}, Caso{0xFA, 'u'}, Caso{0xFC, 'u'}, Caso{0xDA, 'U'}, Caso{0xF1, 'n'},
        Caso{0xD1, 'N'}, Caso{0xBA, 'o'}, Caso{0xAA, 'a'}, Caso{0xB0, 'o'}, Caso{0xA0, ' '},
        Caso{0xFD, 'y'}, Caso{0xFF, 'y'}}) {
    SCOPED_TRACE(c.entrada);
    EXPECT_EQ(K8859_filtra_carac(c.entrada), c.saida);
    // The same byte passed as a plain signed char.
    EXPECT_EQ(K8859_filtra_carac(static_cast<signed char>(c.entrada)), c.saida);
  }
}

TEST(CharacterFilter, AsciiPassesAndEverythingElseBecomesPrintable) {
  for (int c = 0; c < 0x80; ++c) EXPECT_EQ(K8859_filtra_carac(c), c);
  for (int c = 0x80; c <= 0xFF; ++c) {
    const int r = K8859_filtra_carac(c);
    EXPECT_GE(r, 0x20) << c;
    EXPECT_LT(r, 0x7F) << c;
  }
  for (int c : {256, 1000, -129, -100000}) {
    const int r = K8859_filtra_carac(c);
    EXPECT_GE(r, 0x20) << c;
    EXPECT_LT(r, 0x7F) << c;
  }
}

TEST(ArgumentHelpers, MatchPrefixOrWholeText) {
  const char *arg = "ECFBEMATECH_PROTOCOLO=1";
  EXPECT_STREQ(TRATARG_compara(arg, "ECFBEMATECH_", 1), "PROTOCOLO=1");
  EXPECT_STREQ(TRATARG_compara(arg, "", 1), arg);
  EXPECT_EQ(TRATARG_compara(arg, "ECFBMTC_", 1), nullptr);
  EXPECT_EQ(TRATARG_compara("ECFBEM", "ECFBEMATECH_", 1), nullptr);

  EXPECT_NE(TRATARG_compara("GAVETA_FECHADA", "GAVETA_FECHADA", 3), nullptr);
  EXPECT_EQ(TRATARG_compara("GAVETA_FECHADAS", "GAVETA_FECHADA", 3), nullptr);
  EXPECT_EQ(TRATARG_compara("GAVETA", "GAVETA_FECHADA", 3), nullptr);

  EXPECT_EQ(TRATARG_compara(nullptr, "X", 1), nullptr);
  EXPECT_EQ(TRATARG_compara("X", nullptr, 1), nullptr);
}

TEST(ArgumentHelpers, ReadTheNumberAfterTheKeyword) {
  struct Caso {
    const char *texto;
    int pegou;
    int valor;
  };
  for (const Caso c :
       {Caso{"PROTOCOLO=1", 1, 1}, Caso{"PROTOCOLO=42abc", 1, 42}, Caso{"PROTOCOLO=", 1, 0},
        Caso{"PROTOCOLO=x", 1, 0}, Caso{"PROTOCOLO=-3", 1, -3},
        Caso{"PROTOCOLO=99999999999999", 1, 2147483647},
        Caso{"PROTOCOLO=-99999999999999", 1, -2147483647 - 1}, Caso{"MULTIPLIC=2", 0, 77}}) {
    SCOPED_TRACE(c.texto);
    int valor = 77;
    EXPECT_EQ(TRATARG_pegou_int(&valor, c.texto, "PROTOCOLO=", 1) != 0, c.pegou != 0);
    EXPECT_EQ(valor, c.valor);
  }
  EXPECT_EQ(TRATARG_pegou_int(nullptr, "PROTOCOLO=1", "PROTOCOLO=", 1), 0);
}

}  // namespace
