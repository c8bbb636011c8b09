// Stored line slots and the small field helpers.
#include "receipt_fixture.h"

namespace receipt_test {
namespace {

using Linhas = ReciboTest;

TEST_F(Linhas, SlotsHoldAtMostTheColumnWidth) {
  usa(mp40);
  unsigned char tabela[3 * 50] = {};
  ECFBMTCAUX_guarda_linha(tabela, 3, 1, std::string(60, 'a').c_str());
  EXPECT_EQ(tabela[50], 1);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(tabela + 51)), std::string(40, 'a'));
  ECFBMTCAUX_guarda_linha(tabela, 3, 2, "");
  EXPECT_EQ(tabela[100], 1);  // in use, empty line
  EXPECT_EQ(tabela[101], 0);

  ECFIF_nvmem.flags = 0;
  ECFBMTCAUX_guarda_linha(tabela, 3, 3, "x");
  ECFBMTCAUX_guarda_linha(tabela, 3, -1, "x");
  EXPECT_FALSE(alterado());
  ECFBMTCAUX_guarda_linha(tabela, 3, 0, "");
  EXPECT_EQ(tabela[50] + tabela[100], 0);
  EXPECT_TRUE(alterado());
}

TEST_F(Linhas, PromotionalSlotsAreEight) {
  EXPECT_EQ(ECFIF_publicit(7, "fim"), 0);
  EXPECT_EQ(BMTCLOCAL_d[350], 1);
  EXPECT_EQ(ECFIF_publicit(8, "fora"), 0);
  EXPECT_EQ(BMTCLOCAL_d[400], 0);  // the description lines start there
  EXPECT_EQ(ECFIF_publicit(0, ""), 0);
  EXPECT_EQ(BMTCLOCAL_d[350], 0);
}

TEST_F(Linhas, FieldHelpers) {
  char t[] = " 1 2 ";
  BMTCLOCAL_troca_brancos_por_zeros(t, 3);
  EXPECT_STREQ(t, "0102 ");
  BMTCLOCAL_troca_brancos_por_zeros(t, 99);
  EXPECT_STREQ(t, "01020");
  char c[8];
  BMTCLOCAL_completa_campo(c, '0', 5);
  EXPECT_STREQ(c, "00000");
  BMTCLOCAL_completa_campo(nullptr, '0', 5);
}

TEST_F(Linhas, PaymentRecordNeedsANameAndAnAmount) {
  BMTCLOCAL_armazena_fpagto_valor(" Cartao", "00000000000100");
  BMTCLOCAL_armazena_fpagto_valor("", "00000000000100");
  BMTCLOCAL_armazena_fpagto_valor("Cartao", "");
  BMTCLOCAL_armazena_fpagto_valor(nullptr, nullptr);
  EXPECT_TRUE(imp.comandos.empty());
  EXPECT_EQ(qtd_pagtos(), 0);
  BMTCLOCAL_armazena_fpagto_valor("Cartao", "00000000000100");
  EXPECT_EQ(imp.numeros(), std::vector<int>{30});
  EXPECT_EQ(qtd_pagtos(), 1);
  EXPECT_EQ(pagto(0), "001234" + nul() + "00000000000100" + nul() + "Cartao" + brancos(10) + nul());
}

}  // namespace
}  // namespace receipt_test
