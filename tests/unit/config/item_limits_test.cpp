// Multiplication mode and the item maximum, forced by options or asked.
#include <gtest/gtest.h>

#include "config/config_fixture.h"

namespace {

using ecftest::ConfigTest;

class ItemLimits : public ConfigTest {};

TEST_F(ItemLimits, MultiplicationModeFromTheOptionOrVariable28) {
  struct Caso {
    int forcado;
    int variavel;  // -1: refused
    int modo;
    bool pergunta;
  };
  for (const Caso &c : {Caso{1, 0, 0, false}, Caso{2, 0, 1, false}, Caso{3, 0, 2, false},
                        Caso{0, 0x00, 0, true}, Caso{0, 0xFF, 2, true}, Caso{0, 0x01, -1, true},
                        Caso{0, -1, -1, true}, Caso{4, 0xFF, 2, true}, Caso{-1, 0x00, 0, true}}) {
    reinicia();
    ECFBMTCAUX_forca_multiplicacao = c.forcado;
    if (c.variavel < 0)
      impressora.recusa(28);
    else
      impressora.define(28, std::string(1, static_cast<char>(c.variavel)));
    EXPECT_EQ(ECFIF_modo_multiplicacao(), c.modo) << c.forcado << "/" << c.variavel;
    EXPECT_EQ(!impressora.recebidos.empty(), c.pergunta) << c.forcado << "/" << c.variavel;
  }
}

TEST_F(ItemLimits, MaximumOfItems) {
  struct Caso {
    int forcado;
    int maximo;
  };
  for (const Caso &c :
       {Caso{0, 999}, Caso{-5, 999}, Caso{1000, 999}, Caso{50, 50}, Caso{1, 1}, Caso{999, 999}}) {
    ECFBMTCAUX_forca_maximo_de_itens = c.forcado;
    EXPECT_EQ(ECFIF_maximo_de_itens(), c.maximo) << c.forcado;
    EXPECT_EQ(ECFBMTCAUX_forca_maximo_de_itens, c.maximo);
  }
  EXPECT_EQ(ECFIF_max_itens_anteriores(), 300);
  EXPECT_TRUE(impressora.recebidos.empty());
}

}  // namespace
