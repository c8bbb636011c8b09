// Sensors, drawer, clock and daylight saving against the emulated printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/states.h"
#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "platform/platform.h"
#include "platform/test_platform.h"

namespace info_test {
namespace {

using ecftest::Bytes;

class SensoresRelogio : public ::testing::Test {
 protected:
  void SetUp() override {
    ecftest::reset();
    ECFLOG_modo = 3;
    ecftest::set_peer(&linha);
  }
  void TearDown() override {
    ecftest::set_peer(nullptr);
    ecftest::reset();
  }
  // The commands sent since the last call, variable reads as 35.
  static std::vector<int> comandos() {
    std::vector<int> c;
    for (const Bytes &f : ecftest::frames())
      if (f.size() > 4) c.push_back(f[4]);
    ecftest::clear_transmitted();
    return c;
  }
  static Bytes retornado() { return Bytes(ECFIF_retornado, ECFIF_retornado + ECFIF_tam_retorno); }

  ecftest::EmulatedPrinter linha{12};
};

TEST_F(SensoresRelogio, EachMaskReadsOnlyWhatItAsks) {
  struct Caso {
    int mascara;
    bool sem_papel, gaveta_aberta, logica_invertida;
    std::vector<int> enviados;
    Bytes registro;
  };
  for (const Caso &c : {
           Caso{1, false, false, false, {35}, {0, 0, 0, 0, 0}},
           Caso{16, false, false, false, {19}, {0, 0, 1, 0, 0}},
           Caso{8, true, false, false, {19}, {0, 0, 0, 0, 0}},
           Caso{4, true, false, false, {19}, {0, 1, 0, 0, 0}},
           Caso{2, false, true, false, {23}, {1, 0, 0, 0, 0}},
           Caso{2, false, false, true, {23}, {1, 0, 0, 0, 0}},
           Caso{2, false, true, true, {23}, {0, 0, 0, 0, 0}},
           Caso{31, true, true, false, {19, 23, 35}, {1, 1, 1, 0, 0}},
       }) {
    linha.printer.faults().paper_out = c.sem_papel;
    if (c.gaveta_aberta) {
      ASSERT_EQ(ECFIF_abre_gaveta(), 0);
    }
    ECFBMTCAUX_logica_gaveta = c.logica_invertida;
    comandos();
    ASSERT_EQ(ECFIF_le_selec_sensores(c.mascara), 0) << c.mascara;
    EXPECT_EQ(comandos(), c.enviados) << c.mascara;
    EXPECT_EQ(retornado(), c.registro) << c.mascara;
  }
  ECFBMTCAUX_logica_gaveta = 0;
  linha.printer.faults().paper_out = false;
  ASSERT_EQ(ECFIF_le_sensores(), 0);
  EXPECT_TRUE(ecftest::log_has("le_selec_sensores(16)..."));
  EXPECT_TRUE(ecftest::log_has("le_sensores(): 00 00 01 00 00"));
}

TEST_F(SensoresRelogio, DrawerPulseAndFailures) {
  ECFBMTC_tempo_pulso_gaveta = 50;
  ASSERT_EQ(ECFIF_abre_gaveta(), 0);
  EXPECT_EQ(ecftest::frames().back(), ecftest::frame_of(22, {50}));
  EXPECT_TRUE(ecftest::log_has("abre_gaveta()"));
  EXPECT_EQ(ECFIF_tem_doc_autent(), 0);
  ecftest::set_peer(nullptr);
  EXPECT_EQ(ECFIF_le_sensores(), 37);
  EXPECT_TRUE(ecftest::log_has("le_sensores()=37."));
}

TEST_F(SensoresRelogio, ClockRecordAndDaylightSaving) {
  ASSERT_EQ(ECFIF_le_relogio(), 0);
  EXPECT_EQ(retornado(), (Bytes{0x02, 0x01, 0x20, 0x26, 0x10, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(ecftest::log_has("le_relogio():02/01/2026 10:00:00 v=0."));

  comandos();
  ASSERT_EQ(ECFIF_entra_verao(), 0);
  ASSERT_EQ(ECFIF_entra_verao(), 0);
  EXPECT_EQ(comandos(), (std::vector<int>{35, 18, 35}));
  unsigned char lido[8] = {};
  ASSERT_EQ(ECFIF_le_datalida(lido), 0);
  EXPECT_EQ(Bytes(lido, lido + 8), (Bytes{0x02, 0x01, 0x20, 0x26, 0x11, 0x00, 0x00, 0x01}));

  comandos();
  ASSERT_EQ(ECFIF_sai_verao(), 0);
  ASSERT_EQ(ECFIF_sai_verao(), 0);
  EXPECT_EQ(comandos(), (std::vector<int>{35, 18, 35}));
  EXPECT_TRUE(ecftest::log_has("sai_verao()"));
}

TEST_F(SensoresRelogio, ClockFailuresAndNullDestination) {
  EXPECT_EQ(ECFIF_le_datalida(nullptr), 2);
  EXPECT_TRUE(ecftest::frames().empty());
  ecftest::set_peer(nullptr);
  ECFBMTCAUX_o_que_repetir = 7;
  unsigned char lido[8] = {};
  EXPECT_EQ(ECFIF_le_datalida(lido), 37);
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 2);
  EXPECT_EQ(ECFIF_entra_verao(), 37);
  // The repeat reads the whole clock again, both variables.
  ecftest::set_peer(&linha);
  comandos();
  ASSERT_EQ(ecf::core::operacao_a_repetir(2)(), 0);
  EXPECT_EQ(comandos(), (std::vector<int>{35, 35}));
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 0);
}

}  // namespace
}  // namespace info_test
