// The information codes' rules: model-derived answers for every model,
// version codes, header cleaning, the cache's life and each failure; the
// sensors, drawer and clock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/models.h"
#include "core/states.h"
#include "driver_test.h"
#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "info/bounded_text.h"
#include "info/header_text.h"
#include "platform/platform.h"
#include "platform/test_platform.h"
#include "transport/test_support.h"

namespace info_test {
namespace {

using ecftest::Bytes;

class InfoRules : public ecftest::LineTest {
 protected:
  // A printer already identified, so the configuration sends nothing.
  static void identificada(int modelo) {
    ECFBMTC_modelo_ecf = modelo;
    BMTCLOCAL_flg_vers = modelo >= 5 ? 1 : 0;
    ECFIF_cfg[2] = 1;
  }
  static std::string info(int codigo, int *resultado = nullptr) {
    char texto[ECFIF_TAM_TEXTO_INFO] = "x";
    const int r = ECFIF_le_info_modo(texto, codigo, 0);
    if (resultado) *resultado = r;
    return texto;
  }
};

TEST_F(InfoRules, ModelDerivedCodesForEachGenerationAndMaker) {
  struct Linha {
    int modelo;
    const char *mfd, *letra, *fabricante, *modelo_nacional;
  };
  for (const Linha &l : {Linha{1, "0", "6", "03", "05"}, Linha{8, "1", "_", "45", "13"},
                         Linha{10, "1", "_", "18", "12"}, Linha{15, "1", "_", "03", "00"}}) {
    identificada(l.modelo);
    EXPECT_EQ(info(35) + info(37) + info(61) + info(62),
              std::string(l.mfd) + l.letra + l.fabricante + l.modelo_nacional)
        << l.modelo;
  }
  EXPECT_TRUE(ecftest::frames().empty());
}

TEST_F(InfoRules, VersionCodesByGenerationAndModel) {
  EXPECT_EQ(ecf::core::versao_nacional(true, 5, "010304"), "07");
  EXPECT_EQ(ecf::core::versao_nacional(true, 9, "010102"), "02");
  EXPECT_EQ(ecf::core::versao_nacional(false, 2, "0999"), "00");
  // End to end: an older printer with firmware 03.31.
  identificada(1);
  ecftest::on_frame(data_answer({0x03, 0x31}));
  EXPECT_EQ(info(63), "08");
}

TEST_F(InfoRules, HeaderCleaning) {
  struct Linha {
    std::string origem;
    bool seguinte;
    const char *texto;
  };
  for (const Linha &l : {
           Linha{"", false, ""},
           Linha{"     ", false, ""},
           Linha{"  LOJA\nRUA", false, "LOJA"},
           Linha{"RUA\nCIDADE", true, "RUA "},
           Linha{"\x1b"
                 "ELOJA \x1b"
                 "FX\x1b"
                 "M\x1b\x0eY",
                 false, "LOJA XY"},
           Linha{"\x1bQ\x0e", false, "Q\x0e"},
           Linha{std::string("AB\0CD", 5), false, "AB"},
           Linha{std::string(60, 'A'), false, "AAAAAAAAAA"},
       }) {
    ecf::info::TextoLimitado t;
    const auto *p = reinterpret_cast<const std::uint8_t *>(l.origem.data());
    ecf::info::limpa_cabecalho({p, l.origem.size()}, 10, l.seguinte, t);
    EXPECT_EQ(t.vista(), l.texto) << l.origem;
  }
}

TEST_F(InfoRules, CodesWithoutAnAnswerAndNullTexts) {
  identificada(12);
  for (int codigo : {-1, 4, 15, 47, 60, 99, 230, 249, 280, 361, 500, 549, 1000}) {
    int r = 0;
    EXPECT_EQ(info(codigo, &r), "") << codigo;
    EXPECT_EQ(r, 15) << codigo;
  }
  EXPECT_TRUE(ecftest::log_lines().empty());
  EXPECT_EQ(ECFIF_le_info(nullptr, 0), 0);
  for (int codigo : {1, 33, 200, 500}) {
    EXPECT_EQ(ECFIF_le_info(nullptr, codigo), 2) << codigo;
    EXPECT_EQ(ECFIF_le_info_modo(nullptr, codigo, 0), 2) << codigo;
  }
  EXPECT_TRUE(ecftest::frames().empty());
  EXPECT_TRUE(ecftest::log_has("le_info(33)=2."));
  char texto[ECFIF_TAM_TEXTO_INFO];
  ASSERT_EQ(ECFIF_le_info(texto, 41), 0);
  ASSERT_EQ(ECFIF_le_info_modo(texto, 30, 1), 0);
  EXPECT_TRUE(ecftest::log_has("le_info(41):20070103090807."));
  EXPECT_TRUE(ecftest::log_has("le_info_modo(30,1):0."));
}

TEST_F(InfoRules, FailuresPassOnAfterFiveTries) {
  identificada(12);
  int r = 0;
  EXPECT_EQ(info(100, &r), "");
  EXPECT_EQ(r, 37);
  EXPECT_EQ(ecftest::frames().size(), 5u);
  EXPECT_TRUE(ecftest::log_has("le_info_modo(100,0)=37."));
  // A rate search that cannot read the table is not "no such rate".
  EXPECT_EQ(info(200, &r), "");
  EXPECT_EQ(r, 37);
}

TEST_F(InfoRules, NoMemoryForTheCache) {
  identificada(12);
  ecftest::fail_allocations_after(0);
  int r = 0;
  info(21, &r);
  EXPECT_EQ(r, 42);
  EXPECT_TRUE(ecftest::frames().empty());
}

TEST_F(InfoRules, MakerInitialsFromTheIdentity) {
  identificada(12);
  std::string id(42, ' ');
  id.replace(0, 4, "ACME");
  ecftest::on_frame(data_answer(Bytes(id.begin(), id.end())));
  int r = 0;
  EXPECT_EQ(info(36, &r), "");
  EXPECT_EQ(r, 15);
  for (const auto &[modelo, sigla] : {std::pair{8, "UN"}, std::pair{10, "IB"}}) {
    ecftest::reset();
    ecftest::EmulatedPrinter linha(modelo);
    EXPECT_EQ(info(36), sigla) << modelo;
  }
}

// Sensors, drawer, clock and daylight saving against the emulated printer.
class SensoresRelogio : public InfoRules {
 protected:
  void SetUp() override {
    InfoRules::SetUp();
    ecftest::set_peer(&linha);
  }
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
    linha.clear_sent();
    ASSERT_EQ(ECFIF_le_selec_sensores(c.mascara), 0) << c.mascara;
    EXPECT_EQ(linha.commands, c.enviados) << c.mascara;
    EXPECT_EQ(returned_bytes(), c.registro) << c.mascara;
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
  EXPECT_EQ(returned_bytes(), (Bytes{0x02, 0x01, 0x20, 0x26, 0x10, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(ecftest::log_has("le_relogio():02/01/2026 10:00:00 v=0."));

  linha.clear_sent();
  ASSERT_EQ(ECFIF_entra_verao(), 0);
  ASSERT_EQ(ECFIF_entra_verao(), 0);
  EXPECT_EQ(linha.commands, (std::vector<int>{35, 18, 35}));
  unsigned char lido[8] = {};
  ASSERT_EQ(ECFIF_le_datalida(lido), 0);
  EXPECT_EQ(Bytes(lido, lido + 8), (Bytes{0x02, 0x01, 0x20, 0x26, 0x11, 0x00, 0x00, 0x01}));

  linha.clear_sent();
  ASSERT_EQ(ECFIF_sai_verao(), 0);
  ASSERT_EQ(ECFIF_sai_verao(), 0);
  EXPECT_EQ(linha.commands, (std::vector<int>{35, 18, 35}));
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
  linha.clear_sent();
  ASSERT_EQ(ecf::core::operacao_a_repetir(2)(), 0);
  EXPECT_EQ(linha.commands, (std::vector<int>{35, 35}));
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 0);
}

}  // namespace
}  // namespace info_test
