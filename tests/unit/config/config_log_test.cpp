// Log lines of the configuration operations, their texts and their bits.
#include <gtest/gtest.h>

#include <string>

#include "config/config_fixture.h"

namespace {

using ecftest::bytes;
using ecftest::ConfigTest;
using ecftest::log_has;

class ConfigLog : public ConfigTest {};

TEST_F(ConfigLog, DiscoveryLinesWithInterfaceBit) {
  impressora_mfd("MP-4000 TH FI", 0x0102);
  impressora.define(27, bytes({0x06, 0x12, 0x26}));
  impressora.define(6, bytes({0x00, 0x12, 0x34}));
  impressora.define(11, bytes({0x00, 0x03}));
  impressora.define(9, bytes({0x01, 0x23}));
  impressora.define(59, bytes({0x20, 0x00}));
  impressora.define(40, "BE0912345678ABCD1234");
  impressora.define(10, bytes({0x00, 0x42}));
  ECFLOG_modo = 2;
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  for (const char *l :
       {"pega_configuracao()...", "le_configuracao()...", "versao()", "apenas_versao()",
        "le_fabricacao()...",
        "le_fabricacao():CGC=v0017,t0020 CRZ_t=2046 CRO=0042 CRZ=0123 FAB=abcd1234.",
        "le_configuracao():v01 Bematech             MP-4000 TH FI        0100 061226 COO=001234 "
        "e2.",
        "pega_configuracao()=0"})
    EXPECT_TRUE(log_has(l)) << l;
}

TEST_F(ConfigLog, DiscoveryIsSilentWithoutInterfaceBit) {
  impressora_mfd("MP-4000 TH FI", 0x0102);
  ECFLOG_modo = 1;
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  for (const char *l :
       {"pega_configuracao()...", "versao()", "apenas_versao()", "pega_configuracao()=0"})
    EXPECT_FALSE(log_has(l)) << l;
}

TEST_F(ConfigLog, TableReadsWithProtocolBit) {
  modelo_conhecido(true);
  impressora.define(49, "Dinheiro");
  impressora.define(50, "Troco");
  ECFLOG_modo = 1;
  char nome[17];
  unsigned char r[18];
  unsigned char t[10];
  ECFIF_le_forma_de_pagamento(0, nome);
  ECFIF_le_forma_de_pagamento(1, nome);
  ECFIF_le_forma_de_pagamento(20, nome);
  ECFIF_le_cnf(0, r);
  ECFIF_le_cnf(1, r);
  ECFIF_le_cnf(30, r);
  ECFIF_le_tributacao(16, t);
  ECFIF_le_tributacao(22, t);
  ECFIF_le_tributacao(19, t);  // fixed service entries log nothing
  for (const char *l : {"le_fpg(0): [Dinheiro        ]", "le_fpg(1): [(null)]", "le_fpg(20): r=19.",
                        "le_cnf(0): [Troco           ]", "le_cnf(1): [(null)]", "le_cnf(30): r=19.",
                        "le_trib(16):4 FF 00.00%.", "le_trib(22): r=19."})
    EXPECT_TRUE(log_has(l)) << l;
  EXPECT_FALSE(log_has("le_trib(19):24 SF 00.00%."));
}

TEST_F(ConfigLog, RateLineAndFailedReads) {
  modelo_conhecido(false);
  std::string d(33, '\0');
  d[1] = 0x18;
  impressora.dados_comando[26] = d;
  impressora.define(29, bytes({0x80, 0x00}));
  ECFLOG_modo = 1;
  unsigned char t[10];
  ASSERT_EQ(ECFIF_le_tributacao(0, t), 0);
  EXPECT_TRUE(log_has("le_trib(0):20 01 18.00%."));
  impressora.recusa(29);
  ASSERT_EQ(ECFIF_le_tributacao(0, t), 15);
  EXPECT_TRUE(log_has("le_trib(0): r=15."));
}

TEST_F(ConfigLog, ItemLimitsLogOnlyChanges) {
  ECFLOG_modo = 3;
  ECFBMTCAUX_forca_maximo_de_itens = 77;
  ECFIF_maximo_de_itens();
  ECFIF_maximo_de_itens();
  ECFBMTCAUX_forca_multiplicacao = 2;
  ECFIF_modo_multiplicacao();
  ECFIF_modo_multiplicacao();
  ECFIF_max_itens_anteriores();
  int maximo = 0, modo = 0;
  for (const auto &l : ecftest::log_lines()) {
    maximo += l == "maximo_de_itens()=77.";
    modo += l == "Multipl=1(forc=2)";
  }
  EXPECT_EQ(maximo, 1);
  EXPECT_EQ(modo, 1);
  EXPECT_TRUE(log_has("max_itens_anteriores()=300."));
  ECFBMTCAUX_forca_multiplicacao = 3;
  ECFIF_modo_multiplicacao();
  EXPECT_TRUE(log_has("Multipl=2(forc=3)"));
}

TEST_F(ConfigLog, LineBufferLines) {
  modelo_conhecido(true);
  ECFLOG_modo = 3;
  ECFIF_imprime_linha("abc");
  ECFIF_imprime_linha(nullptr);
  ECFIF_imprime_expandido("X");
  ECFIF_linha_marcacao(7);
  BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC] = 4;
  ECFIF_cfg[2] = 1;
  impressora.responde(67, ecftest::status_para(12));
  impressora.responde(20, ecftest::status_para(12));
  ECFIF_espaceja(0);
  for (const char *l :
       {"imprime_linha(abc)", "imprime_linha((null))", "imprime_expandido(X)", "linha_marcacao(7)",
        "espaceja(0)", "imprime_buffer()=12, tratado como OK."})
    EXPECT_TRUE(log_has(l)) << l;
}

TEST_F(ConfigLog, AllocationFailures) {
  modelo_conhecido(true);
  ecftest::fail_allocations_after(0);
  EXPECT_EQ(ECFBMTC_le_arquivo_CFG("nao-existe.cfg"), 1);
  EXPECT_EQ(ECFBMTC_carrega_formas_pagto(), 44);
  ecftest::fail_allocations_after(-1);
  EXPECT_EQ(ecftest::live_allocations(), 0);
}

}  // namespace
