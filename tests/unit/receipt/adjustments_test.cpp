// Discounts, surcharges and cancellations.
#include "receipt_fixture.h"

namespace receipt_test {
namespace {

using Ajustes = ReciboTest;

TEST_F(Ajustes, SubtotalFieldsAreZeroFilled) {
  struct Caso {
    int (*f)(const char *);
    const char *valor;
    std::string args;
  } casos[] = {
      {ECFIF_desconto_subtot, "150", "d" + zeros(11) + "150"},
      {ECFBMTC_desc_subtot, "1 5", "d" + zeros(11) + "105"},
      {ECFBMTC_desc_subtot_perc, "5", "D0005"},
      {ECFIF_acresc_subtot, "123456789012345678", "a12345678901234"},
      {ECFBMTC_acres_subtot_perc, "1000", "A1000"},
  };
  for (const auto &c : casos) {
    ASSERT_EQ(c.f(c.valor), 0);
    EXPECT_EQ(imp.args_de(32), c.args);
  }
  imp.limpa();
  EXPECT_EQ(ECFIF_desconto_subtot(nullptr), 2);
  EXPECT_TRUE(imp.comandos.empty());
}

TEST_F(Ajustes, ItemAdjustmentsAndTheirCancelsRangeAndLayout) {
  EXPECT_EQ(ECFIF_desc_item_pos(0, "1"), 2);
  EXPECT_EQ(ECFIF_acresc_item_pos(1000, "1"), 2);
  EXPECT_EQ(ECFBMTC_desc_item(5, nullptr), 2);
  EXPECT_EQ(ECFBMTC_cancela_desconto(1000), 2);
  EXPECT_EQ(ECFBMTC_cancela_acrescimo(0xFFFFFFFFu), 2);
  EXPECT_TRUE(imp.comandos.empty());

  ASSERT_EQ(ECFIF_desc_item_pos(999, "1234567890"), 0);
  EXPECT_EQ(imp.args_de(93), "D99934567890");
  ASSERT_EQ(ECFIF_acresc_item_pos(7, "25"), 0);
  EXPECT_EQ(imp.args_de(93), "A00700000025");
  ASSERT_EQ(ECFBMTC_cancela_desconto(0), 0);
  EXPECT_EQ(imp.args_de(114), "D000");
  ASSERT_EQ(ECFBMTC_cancela_acrescimo(42), 0);
  EXPECT_EQ(imp.args_de(114), "A042");
}

TEST_F(Ajustes, OlderPrintersHaveNoItemAdjustments) {
  usa(mp20);
  EXPECT_EQ(ECFIF_desc_item_pos(1, "1"), 15);
  EXPECT_EQ(ECFIF_acresc_item_pos(1, "1"), 15);
  EXPECT_EQ(ECFBMTC_desc_item(1, "1"), 15);
  EXPECT_EQ(ECFBMTC_cancela_desconto(1), 15);
  EXPECT_EQ(ECFBMTC_cancela_acrescimo(1), 15);
  EXPECT_TRUE(imp.comandos.empty());
  EXPECT_EQ(ECFIF_pode_desc_item(), 1);
  EXPECT_EQ(ECFIF_pode_acres_item(), 1);
  EXPECT_EQ(ECFIF_suporta_desc_item_pos(), 0);
  usa(mp2000);
  EXPECT_EQ(ECFIF_pode_desc_item(), 0);
  EXPECT_EQ(ECFIF_pode_acres_item(), 0);
  EXPECT_EQ(ECFIF_suporta_desc_item_pos(), 1);
  EXPECT_EQ(ECFIF_canc_desconto("x"), 15);
  EXPECT_EQ(ECFIF_cancela(nullptr), 15);
  EXPECT_EQ(ECFIF_cabecalho(), 0);
}

using Cancelamentos = ReciboTest;

TEST_F(Cancelamentos, ItemNumberKeepsItsLastFourDigits) {
  ASSERT_EQ(ECFIF_canc_it_posic(12345), 0);
  EXPECT_EQ(imp.args_de(31), "2345");
  ASSERT_EQ(ECFBMTC_canc_item(7), 0);
  EXPECT_EQ(imp.args_de(31), "0007");
}

TEST_F(Cancelamentos, ReceiptCancelClosesTheDocumentOnlyOnSuccess) {
  estado_doc(1);
  imp.recusa(14, {0, 0x01});
  EXPECT_EQ(ECFIF_canc_cupom(), 34);
  EXPECT_EQ(estado_doc(), 1);
  EXPECT_EQ(ECFIF_canc_cupom(), 0);
  EXPECT_EQ(imp.args_de(14), "");
  EXPECT_EQ(estado_doc(), 0);
  EXPECT_TRUE(alterado());
  estado_doc(1);
  EXPECT_EQ(ECFIF_canc_anterior(), 0);
  EXPECT_EQ(estado_doc(), 0);
}

TEST_F(Cancelamentos, CancelCarriesTheConsumerBlockOnDetailTapePrinters) {
  ASSERT_EQ(ECFBMTC_cancela_cupom("123", "Ana", nullptr), 0);
  EXPECT_EQ(imp.args_de(14), "123" + brancos(26) + "Ana" + brancos(27));
  usa(mp20);
  ASSERT_EQ(ECFBMTC_cancela_cupom("123", "Ana", nullptr), 0);
  EXPECT_EQ(imp.args_de(14), "");
}

TEST_F(Cancelamentos, PreviousReceiptByFlagBit5) {
  imp.flag17(0x20);
  EXPECT_EQ(ECFIF_pode_canc_anterior(), 0);
  EXPECT_EQ(imp.args_de(35), "\x11");
  imp.flag17(0x01);
  EXPECT_EQ(ECFIF_pode_canc_anterior(), 1);
  imp.recusa(35, {0x80, 0x01}, 5);
  EXPECT_EQ(ECFIF_pode_canc_anterior(), 11);
}

}  // namespace
}  // namespace receipt_test
