// Item registration: the command chosen by model and flags, the argument
// layouts, the composed description and the unit of measure.
#include "receipt_fixture.h"

namespace receipt_test {
namespace {

using Itens = ReciboTest;

TEST_F(Itens, CommandByModelAndFlags) {
  struct Caso {
    Modelo modelo;
    int flags;
    bool tres_casas;
    int comando;
  } casos[] = {
      {mp7000, 4, false, 6273}, {mp7000, 8, false, 6287}, {kn4, 12, false, 6287},
      {kn4, 0, false, 9},       {mp7000, 0, true, 56},    {mp4000, 0, false, 6287},
      {mp4000, 16, true, 6287}, {mp2000, 16, false, 63},  {mp20, 16, true, 63},
      {mp2000, 0, false, 9},    {mp20, 4, true, 56},
  };
  for (const auto &c : casos) {
    usa(c.modelo);
    ECFBMTC_flags = c.flags;
    imp.limpa();
    int r = c.tres_casas ? ECFBMTC_registra_item_3casas("1", "X", "T1", "1000", "100", nullptr)
                         : ECFBMTC_registra_item("1", "X", "T1", "1000", "100");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(imp.numeros(), std::vector<int>{c.comando}) << c.modelo.codigo << "/" << c.flags;
  }
}

TEST_F(Itens, ClassicLayout) {
  ECFIF_descritivo(0, "");
  ASSERT_EQ(ECFBMTC_registra_item_desc("789", "Cafe", "T1", "1000", "1250", "50"), 0);
  EXPECT_EQ(imp.args_de(9),
            "0000000000789"
            "Cafe" +
                brancos(25) +
                "T1"
                "0001000"
                "00001250"
                "00000050");
  EXPECT_TRUE(ecftest::log_has("registra_item(9,789,Cafe,T1,1000,1250,50,(null))=0."));

  usa(kn4);
  ECFBMTCAUX_codigo_cbranco = 1;
  ASSERT_EQ(ECFBMTC_registra_item_3casas("789", "Cafe", "T1", "123456789", "1250", nullptr), 0);
  EXPECT_EQ(imp.args_de(56), "789" + brancos(11) + "Cafe" + brancos(25) +
                                 "T1"
                                 "3456789"
                                 "00001250" +
                                 zeros(8));
}

TEST_F(Itens, LongDescriptionGoesAheadWithCommand6252) {
  const std::string d35(35, 'd');
  ASSERT_EQ(ECFBMTC_registra_item("1", d35.c_str(), "T1", "1", "1"), 0);
  ASSERT_EQ(imp.numeros(), (std::vector<int>{6252, 9}));
  EXPECT_EQ(imp.args_de(6252), d35 + brancos(77 - 35));
  EXPECT_EQ(imp.args_de(9).substr(13, 29), std::string(29, 'd'));

  usa(mp40);
  imp.limpa();
  ASSERT_EQ(ECFBMTC_registra_item("1", d35.c_str(), "T1", "1", "1"), 0);
  EXPECT_EQ(imp.args_de(6252), d35 + brancos(62 - 35));

  usa(mp2000);
  imp.limpa();
  ASSERT_EQ(ECFBMTC_registra_item("1", std::string(29, 'e').c_str(), "T1", "1", "1"), 0);
  EXPECT_EQ(imp.numeros(), std::vector<int>{9});

  imp.limpa();
  ASSERT_EQ(ECFBMTC_registra_item("1", std::string(250, 'f').c_str(), "T1", "1", "1"), 0);
  EXPECT_EQ(imp.args_de(6252).size(), 200u);
}

TEST_F(Itens, StoredLinesStartOnNewPrinterLinesAndAreSpent) {
  ECFIF_descritivo(0, "linha um");
  ECFIF_descritivo(2, "linha tres");
  ECFIF_descritivo(4, "ignorada");
  ASSERT_EQ(ECFBMTC_registra_item("1", "   Cafe", "T1", "1", "1"), 0);
  EXPECT_EQ(imp.args_de(6252),
            "Cafe" + brancos(25) + "linha um" + brancos(40) + "linha tres" + brancos(38));
  EXPECT_EQ(BMTCLOCAL_d[400] + BMTCLOCAL_d[500], 0);

  ECFIF_descritivo(1, "x");
  ECFIF_descritivo(0, "");
  EXPECT_EQ(BMTCLOCAL_d[450], 0);
}

TEST_F(Itens, RefusedLongDescriptionKeepsTheLinesAndSendsNoItem) {
  ECFIF_descritivo(0, "linha");
  imp.recusa(6252, {0, 0x01});
  EXPECT_EQ(ECFBMTC_registra_item("1", "Cafe", "T1", "1", "1"), 34);
  EXPECT_EQ(imp.numeros(), std::vector<int>{6252});
  EXPECT_EQ(BMTCLOCAL_d[400], 1);

  imp.recusa(9, {0, 0x01});
  EXPECT_EQ(ECFBMTC_registra_item("1", "Cafe", "T1", "1", "1"), 34);
  EXPECT_EQ(BMTCLOCAL_d[400], 0);  // spent by the item even though refused
}

TEST_F(Itens, UnknownPrinterIsReadFirstAndMissingPriceSendsNothing) {
  ECFBMTC_num_col_ecf = 0;
  ECFIF_descritivo(0, "linha");  // not stored without a column count
  EXPECT_EQ(BMTCLOCAL_d[400], 0);
  // The configuration is read before the item; when it cannot be, no item
  // goes out shaped for an unknown printer.
  imp.recusa(35, {0, 0x01}, 100);
  EXPECT_NE(ECFBMTC_registra_item("1", "Cafe", "T1", "1", "1"), 0);
  ASSERT_FALSE(imp.numeros().empty());
  for (int c : imp.numeros()) EXPECT_EQ(c, 35);  // variable reads only, no item
  imp.limpa();
  usa(mp2000);
  EXPECT_EQ(ECFBMTC_registra_item("1", "Cafe", "T1", "1", nullptr), 2);
  EXPECT_TRUE(imp.comandos.empty());
}

TEST_F(Itens, ItemWithUnitLayout) {
  ECFBMTC_flags = 16;
  ASSERT_EQ(ECFBMTC_registra_item_und("789", "Cafe", "T1", "1000", "1250", "KG"), 0);
  std::string esperado =
      "T1"
      "000012500"
      "0001000" +
      zeros(10) + zeros(10) + brancos(21) + "0" + "KG" + "00000000000789" + nul() + "Cafe" +
      brancos(25) + nul();
  EXPECT_EQ(imp.args_de(63), esperado);
  EXPECT_TRUE(
      ecftest::log_has("registra_item_com_unidade(789,Cafe,T1,1000,1250,(null),(null),KG,0)=0."));

  ASSERT_EQ(ECFBMTC_registra_item_3casas("789", nullptr, "T1", "1000", "12500", "75"), 0);
  esperado =
      "T1"
      "000012500"
      "0001000"
      "0000000075" +
      zeros(10) + brancos(21) + "0" + "UN" + "00000000000789" + nul() + nul();
  EXPECT_EQ(imp.args_de(63), esperado);
}

TEST_F(Itens, ExtendedLayouts) {
  usa(mp7000);
  ECFBMTC_flags = 4;
  ASSERT_EQ(ECFBMTC_registra_item_und("789", "Cafe", "T", "1000", "1250", "LT"), 0);
  EXPECT_EQ(imp.args_de(6273),
            "00000000000789"
            " T"
            "LT"
            "0001000"
            "00012500" +
                zeros(8) + nul() + zeros(8) + nul() + "Cafe" + brancos(25) + nul());

  usa(mp4000);
  ECFBMTCAUX_forca_multiplicacao = 3;
  ASSERT_EQ(ECFBMTC_registra_item_3casas("789", "Cafe", "T1", "1000", "12505", "9"), 0);
  EXPECT_EQ(imp.args_de(6287),
            "00000000000789"
            "T1"
            "UN"
            "A"
            "0001000"
            "00012505"
            "00000009" +
                nul() + zeros(8) + nul() + "Cafe" + brancos(25) + nul());
  EXPECT_TRUE(
      ecftest::log_has("registra_venda_de_item(789,T1,(null),1000,12505,9,(null),Cafe,1,1)=0."));
  ECFBMTCAUX_forca_multiplicacao = 1;
  ASSERT_EQ(ECFBMTC_registra_item("1", "Cafe", "T1", "1", "1"), 0);
  EXPECT_EQ(imp.args_de(6287)[18], 'T');
}

TEST_F(Itens, UnitRule) {
  ECFBMTC_flags = 16;
  struct Caso {
    const char *unidade;
    const char *padrao;
    const char *enviada;
  } casos[] = {
      {"KG", "UN", "KG"},   {"LITRO", "UN", "LI"}, {"K G", "UN", "UN"}, {"", "CX", "CX"},
      {nullptr, "M", "M "}, {"", "A/", "UN"},      {"m2", "UN", "m2"},
  };
  for (const auto &c : casos) {
    std::memset(ECFBMTC_unidade_do_item, 0, 3);
    std::memcpy(ECFBMTC_unidade_do_item, c.padrao, std::strlen(c.padrao));
    ASSERT_EQ(ECFBMTC_registra_item_und("1", "x", "T1", "1", "1", c.unidade), 0);
    EXPECT_EQ(imp.args_de(63).substr(60, 2), c.enviada) << (c.unidade ? c.unidade : "(null)");
  }
  EXPECT_STREQ(ECFBMTC_unidade_do_item, "UN");
}

TEST_F(Itens, WidthOfTheFirstLineStaysFromTheLastClassicItem) {
  usa(mp40);
  ASSERT_EQ(ECFBMTC_registra_item("1", "Cafe", "T1", "1", "1"), 0);
  usa(mp4000);
  ASSERT_EQ(ECFBMTC_registra_item("1", "Cafe", "T1", "1", "1"), 0);
  EXPECT_EQ(imp.args_de(6287).substr(52), "Cafe" + brancos(18) + nul());
}

}  // namespace
}  // namespace receipt_test
