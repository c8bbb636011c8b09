// A whole sale against the emulated printer, in the basic and the extended
// protocol, on a detail-tape model and an older one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ecfbmtc.h"
#include "platform/emulated_printer.h"
#include "platform/platform.h"
#include "platform/test_platform.h"

namespace receipt_test {
namespace {

struct Caso {
  int modelo;
  bool estendido;
};

class VendaCompleta : public ::testing::TestWithParam<Caso> {
 protected:
  void SetUp() override {
    ecftest::reset();
    std::memset(ECFBMTCAUX_idaplica, 0, sizeof ECFBMTCAUX_idaplica);
    ECFBMTCAUX_configurada_idaplica = 0;
    ECFBMTCAUX_modo_protocolo = GetParam().estendido ? 1 : 0;
  }
  void TearDown() override {
    ecftest::set_peer(nullptr);
    ecftest::reset();
  }
  ecftest::EmulatedPrinter linha{GetParam().modelo};
  bool impresso(std::string_view texto) const { return linha.printed(texto); }
};

TEST_P(VendaCompleta, FromConsumerToClosing) {
  ecftest::set_peer(&linha);
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  ASSERT_EQ(ECFBMTC_modelo_ecf, GetParam().modelo);
  const bool mfd = BMTCLOCAL_flg_vers & 1;

  EXPECT_EQ(ECFIF_id_aplicacao("PDV Teste 1.0"), 0);
  ECFIF_identifica_consumidor(1, "12345678909");
  ECFIF_identifica_consumidor(2, "Maria da Silva");
  ECFIF_identifica_consumidor(3, "Rua das Flores, 100");
  ASSERT_EQ(ECFIF_inicio_venda(), 0);
  EXPECT_EQ(BMTCLOCAL_d[2557], 1);

  ASSERT_EQ(ECFBMTC_registra_item("1001", "Cafe torrado", "01", "1000", "250"), 0);
  // The emulator takes a long description (62/52) on detail-tape models only.
  if (mfd) {
    ECFIF_descritivo(0, "Embalagem economica");
    ECFIF_descritivo(1, "Lote 42");
  }
  ASSERT_EQ(ECFBMTC_registra_item_desc(
                "1002", mfd ? "Acucar cristal refinado especial 5 kg" : "Acucar cristal 5 kg", "02",
                "2000", "1000", "0"),
            0);
  ASSERT_EQ(ECFBMTC_registra_item_und("1003", "Feijao", "01", "500", "1200", "KG"), 0);
  ASSERT_EQ(ECFIF_desconto_subtot("100"), 0);
  ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
  ASSERT_EQ(ECFBMTC_pagamento(1, "1000", "", ""), 0);
  ASSERT_EQ(ECFBMTC_pagamento(3, "1750", "Autorizacao 998877", ""), 0);
  ECFIF_publicit(0, "Obrigado pela preferencia");
  ECFIF_publicit(1, "!Volte sempre");
  ASSERT_EQ(ECFIF_fim_venda(), 0);

  EXPECT_EQ(BMTCLOCAL_d[2557], 0);
  EXPECT_EQ(BMTCLOCAL_d[0], 0);
  char pago[32] = {};
  _8toa(pago, BMTCLOCAL_d + 2549);
  EXPECT_STREQ(pago, "2750");
  ASSERT_EQ(BMTCLOCAL_d[600], 1);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(BMTCLOCAL_d + 601 + 7), 14), "00000000001750");
  EXPECT_EQ(std::string(reinterpret_cast<char *>(BMTCLOCAL_d + 601 + 22), 16), "Cartao Credito  ");
  EXPECT_TRUE(impresso("Cafe torrado"));
  EXPECT_EQ(impresso("Lote 42"), mfd);
  EXPECT_TRUE(impresso("Feijao"));
  EXPECT_TRUE(impresso("Obrigado pela preferencia"));
  EXPECT_TRUE(impresso("12345678909"));
  EXPECT_EQ(impresso("Maria da Silva"), mfd);
  ASSERT_EQ(ECFBMTC_le_parametro(17), 0);
  EXPECT_EQ(ECFIF_buffer_protocolo[3] & 1, 0);  // the printer has no receipt open
}

INSTANTIATE_TEST_SUITE_P(ModelosEProtocolos, VendaCompleta,
                         ::testing::Values(Caso{12, false}, Caso{12, true}, Caso{1, false},
                                           Caso{1, true}),
                         [](const auto &info) {
                           return std::string(info.param.modelo == 12 ? "Mp4000" : "Mp20") +
                                  (info.param.estendido ? "Estendido" : "Basico");
                         });

}  // namespace
}  // namespace receipt_test
