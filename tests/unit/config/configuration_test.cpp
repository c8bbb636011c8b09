// Configuration discovery: version, model, manufacturing and host records.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "config/config_fixture.h"

namespace {

using ecftest::bytes;
using ecftest::ConfigTest;
using ecftest::retornado;
using ecftest::status_para;

class Version : public ConfigTest {};

TEST_F(Version, MfdVariable41SkipsItsMiddleByteElseVariable1) {
  struct Caso {
    int flags;  // bit 1 skips the MFD probe
    bool recusa41;
    int versao, mfd;
    std::vector<int> lidas;  // empty: not checked
  };
  for (const Caso &c : {Caso{0, false, 0x0105, 1, {14, 41}}, Caso{0, true, 0x0310, 0, {}},
                        Caso{2, false, 0x0310, 0, {14, 1}}}) {
    reinicia();
    BMTCLOCAL_flg_vers = 1 - c.mfd;
    ECFBMTC_flags = c.flags;
    impressora.define(41, bytes({0x01, 0x99, 0x05}));
    impressora.define(1, bytes({0x03, 0x10}));
    if (c.recusa41) impressora.recusa(41);
    EXPECT_EQ(ECFIF_apenas_versao(), 0);
    EXPECT_EQ(ECFIF_versao_firmware, c.versao);
    EXPECT_EQ(BMTCLOCAL_flg_vers & 1, c.mfd);
    if (!c.lidas.empty()) {
      EXPECT_EQ(impressora.variaveis_lidas(), c.lidas);
    }
  }
}

TEST_F(Version, FailuresOfVariable14And1AndKnownVersionAsksNothing) {
  impressora.recusa(14);
  EXPECT_EQ(ECFIF_apenas_versao(), 15);
  EXPECT_EQ(impressora.vezes(35), 5);

  impressora.variaveis_recusadas.clear();
  impressora.recusa(41);
  impressora.recusa(1, 0x01, 0x01);
  ECFIF_versao_firmware = 0;
  EXPECT_EQ(ECFIF_apenas_versao(), 2);
  EXPECT_EQ(ECFIF_versao_firmware, 0);

  impressora.recebidos.clear();
  ECFIF_versao_firmware = 0x0101;
  EXPECT_EQ(ECFIF_apenas_versao(), 0);
  EXPECT_TRUE(impressora.recebidos.empty());
}

// The 24-byte record of a model; MFD and older printers differ in bytes 15, 16 and 19.
std::string registro(int versao, int colunas, int avanco, int acabamento, int capacidades, bool mfd,
                     int cmc7) {
  const bool autentica = (capacidades & 2) != 0;
  return bytes({versao >> 8,
                versao & 0xFF,
                81,
                colunas,
                avanco,
                1,
                45,
                acabamento,
                capacidades,
                0,
                1,
                0,
                0,
                4,
                1,
                mfd ? 30 : 52,
                mfd ? 20 : 50,
                1,
                autentica ? 1 : 0,
                autentica && mfd ? 48 : 0,
                10,
                6,
                cmc7,
                0});
}

struct LinhaModelo {
  const char *nome;
  int codigo, colunas, avanco, capacidades, acabamento, cmc7;
};

class MfdModel : public ConfigTest, public ::testing::WithParamInterface<LinhaModelo> {};

TEST_P(MfdModel, IdentifiedByNameWithItsRecord) {
  const auto &m = GetParam();
  impressora_mfd(m.nome, 0x0102);
  ASSERT_EQ(ECFIF_versao(), 0);
  EXPECT_EQ(ECFBMTC_modelo_ecf, m.codigo);
  EXPECT_EQ(ECFBMTC_num_col_ecf, m.colunas);
  EXPECT_EQ(retornado(),
            registro(0x0102, m.colunas, m.avanco, m.acabamento, m.capacidades, true, m.cmc7));
}

// The rows that differ: width, feed, capabilities, cutter, CMC-7 reader, and
// the search order of the names.
INSTANTIATE_TEST_SUITE_P(Rows, MfdModel,
                         ::testing::Values(LinhaModelo{"BemaTECH MP-20 FI II", 1, 48, 6, 2, 2, 0},
                                           LinhaModelo{"BemaTECH MP-40 FI II", 3, 40, 9, 3, 2, 0},
                                           LinhaModelo{"MP-25 FI", 2, 48, 9, 2, 2, 0},
                                           LinhaModelo{"MP-2000 TH FI", 5, 48, 5, 0, 2, 0},
                                           LinhaModelo{"MP-6000 TH FI", 6, 48, 5, 3, 2, 1},
                                           LinhaModelo{"4610-KN4", 10, 48, 5, 3, 3, 1},
                                           LinhaModelo{"MP-4000 TH FI", 12, 48, 5, 0, 3, 0},
                                           LinhaModelo{"MP-7000 TH FI", 7, 48, 5, 3, 2, 1}),
                         [](const auto &info) {
                           return "code" + std::to_string(info.param.codigo);
                         });

TEST_F(Version, UnknownMfdNamesAre39) {
  impressora_mfd("MP-9999 TH FI", 0x0100);
  EXPECT_EQ(ECFIF_versao(), 39);
  EXPECT_EQ(ECFBMTC_modelo_ecf, 0);

  reinicia();
  impressora_mfd("MP-25 FI", 0x0100);
  std::string v60 = impressora.variaveis[60];
  v60[15 + 8] = 0;  // blank-padded names compare all twenty characters
  impressora.define(60, v60);
  EXPECT_EQ(ECFIF_versao(), 39);
}

struct CasoAntiga {
  const char *nome;
  const char *serie;
  int resultado_cheque;  // -1: no cheque probe expected
  int resultado;
  int codigo;
};

class OlderModel : public ConfigTest, public ::testing::WithParamInterface<CasoAntiga> {};

TEST_P(OlderModel, SerialPrefixOrChequeProbe) {
  const auto &c = GetParam();
  impressora_antiga(c.serie, 0x0310);
  if (c.resultado_cheque >= 0) impressora.responde(57, status_para(c.resultado_cheque));
  EXPECT_EQ(ECFIF_versao(), c.resultado);
  EXPECT_EQ(ECFBMTC_modelo_ecf, c.codigo);
  EXPECT_EQ(impressora.vezes(57), c.resultado_cheque >= 0 ? 1 : 0);
  for (const auto &r : impressora.recebidos) {
    if (r.comando == 57) {
      EXPECT_EQ(r.args, "00000000000100Tervalo S/A - Teste de Impressao.");
    }
  }
  if (c.resultado == 0) {
    EXPECT_EQ(retornado(), c.codigo == 1 ? registro(0x0310, 48, 6, 2, 2, false, 0)
                                         : registro(0x0310, 40, 9, 2, 3, false, 0));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Probes, OlderModel,
    ::testing::Values(CasoAntiga{"Serial4708", "4708000012345  ", -1, 0, 1},
                      CasoAntiga{"Serial5708", "5708000012345  ", -1, 0, 3},
                      CasoAntiga{"ChequeRefusedWith2", "1234000012345  ", 2, 0, 3},
                      CasoAntiga{"ChequeRefusedWith15", "1234000012345  ", 15, 0, 1},
                      CasoAntiga{"ChequeOtherFailurePassedOn", "1234000012345  ", 12, 12, 0},
                      CasoAntiga{"ChequeAcceptedTellsNothing", "1234000012345  ", 0, 39, 0}),
    [](const auto &info) { return std::string(info.param.nome); });

TEST_F(Version, FailedIdentificationReadsArePassedOn) {
  impressora_mfd("MP-4000 TH FI", 0x0100);
  impressora.recusa(60);
  EXPECT_EQ(ECFIF_versao(), 15);

  reinicia();
  impressora_antiga("4708", 0x0100);
  impressora.recusa(0);
  EXPECT_EQ(ECFIF_versao(), 15);
}

class Manufacturing : public ConfigTest {};

TEST_F(Manufacturing, MfdRecordBytes) {
  BMTCLOCAL_flg_vers = 1;
  impressora.define(11, bytes({0x00, 0x03}));
  impressora.define(9, bytes({0x01, 0x23}));
  impressora.define(59, bytes({0x19, 0x22}));
  impressora.define(40, "BE0912345678ABCD1234");
  impressora.define(10, bytes({0x00, 0x42}));
  ASSERT_EQ(ECFIF_le_fabricacao(), 0);
  EXPECT_EQ(retornado(), bytes({0xAB, 0xCD, 0x12, 0x34, 0x00, 0x42, 0x01, 0x23, 0x00, 0x17, 0x00,
                                0x20, 0x19, 0x22, 0x20, 0x46, 0x20, 0x46}));
  EXPECT_EQ(impressora.variaveis_lidas(), (std::vector<int>{11, 9, 59, 40, 10}));
}

TEST_F(Manufacturing, OlderRecordComputesReductionsLeft) {
  impressora.define(11, bytes({0x00, 0x04}));
  impressora.define(9, bytes({0x02, 0x80}));
  impressora.define(0, "4708000012345  ");  // blanks after the serial are dropped
  impressora.define(10, bytes({0x00, 0x07}));
  ASSERT_EQ(ECFIF_le_fabricacao(), 0);
  EXPECT_EQ(retornado(), bytes({0x00, 0x01, 0x23, 0x45, 0x00, 0x07, 0x02, 0x80, 0x00, 0x06, 0x00,
                                0x10, 0x20, 0x00, 0x22, 0x80, 0x22, 0x80}));
  EXPECT_EQ(impressora.variaveis_lidas(), (std::vector<int>{11, 9, 0, 10}));

  reinicia();  // counts above the total leave nothing
  impressora.define(11, bytes({0x00, 0x12}));
  impressora.define(9, bytes({0x23, 0x00}));
  ASSERT_EQ(ECFIF_le_fabricacao(), 0);
  EXPECT_EQ(retornado().substr(8, 2), bytes({0, 0}));
  EXPECT_EQ(retornado().substr(12, 2), bytes({0, 0}));
}

TEST_F(Manufacturing, SerialPacking) {
  const std::pair<std::string, std::string> casos[] = {
      {"12345678", bytes({0x12, 0x34, 0x56, 0x78})},
      {"9876543210     ", bytes({0x76, 0x54, 0x32, 0x10})},
      {"ABC", bytes({0x00, 0x00, 0x0A, 0xBC})},  // leading zeros
      {"", bytes({0x00, 0x00, 0x00, 0x00})},
      {"    ", bytes({0x00, 0x00, 0x00, 0x00})},
      {"12-45678", bytes({0x12, 0x04, 0x56, 0x78})},  // a non-hex character inside counts 0
  };
  for (const auto &[serie, esperado] : casos) {
    reinicia();
    impressora.define(0, serie);
    ASSERT_EQ(ECFIF_le_fabricacao(), 0) << serie;
    EXPECT_EQ(retornado().substr(0, 4), esperado) << serie;
  }
}

TEST_F(Manufacturing, FailureAtEachReadSetsTheRepeatCode) {
  struct Caso {
    int variavel;
    bool mfd;
    int repetir;
  };
  for (const Caso c : {Caso{11, false, 0}, Caso{9, false, 3}, Caso{59, true, 3}, Caso{40, true, 3},
                       Caso{0, false, 3}, Caso{10, false, 3}}) {
    reinicia();
    BMTCLOCAL_flg_vers = c.mfd ? 1 : 0;
    ECFBMTCAUX_o_que_repetir = 7;
    impressora.recusa(c.variavel);
    EXPECT_EQ(ECFIF_le_fabricacao(), 15) << c.variavel;
    EXPECT_EQ(ECFBMTCAUX_o_que_repetir, c.repetir) << c.variavel;
  }
}

class Configuration : public ConfigTest {
 protected:
  std::array<unsigned char, 100> c{};
  std::string em(std::size_t pos, std::size_t n) const {
    return std::string(reinterpret_cast<const char *>(&c[pos]), n);
  }
};

TEST_F(Configuration, HostRecordBytes) {
  impressora_mfd("MP-4000 TH FI", 0x0102);
  impressora.define(14, bytes({0x01, 0x02}));
  impressora.define(27, bytes({0x06, 0x12, 0x26}));
  impressora.define(6, bytes({0x00, 0x12, 0x34}));
  impressora.define(40, "BE091010100011234567");
  ECFIF_versao_firmware = 0x0999;  // read afresh
  c.fill(0xEE);
  ASSERT_EQ(ECFIF_le_configuracao(c.data()), 0);
  uint16_t versao;
  std::memcpy(&versao, c.data(), 2);
  EXPECT_EQ(versao, 0x0102);
  EXPECT_EQ(em(2, 2), bytes({0x01, 0x02}));
  EXPECT_EQ(c[5], 48);  // columns
  EXPECT_EQ(c[6], 5);   // feed lines
  EXPECT_EQ(c[9], 3);   // finishing: cutter
  EXPECT_EQ(c[10], 0);  // capabilities
  EXPECT_EQ(c[26], 0x11);
  EXPECT_EQ(c[29], 0x67);
  EXPECT_EQ(em(44, 9), bytes({0x01, 0x02, 2, 0x06, 0x12, 0x26, 0x00, 0x12,
                              0x34}));  // 46: day begun, no document
  EXPECT_EQ(em(53, 21), std::string("Bematech            \0", 21));
  EXPECT_EQ(em(74, 21), std::string("MP-4000 TH FI       \0", 21));
  EXPECT_EQ(em(95, 5), std::string(5, '\0'));
}

TEST_F(Configuration, OlderModelNameInTheRecord) {
  impressora_antiga("5708000012345  ", 0x0310);
  ASSERT_EQ(ECFIF_le_configuracao(c.data()), 0);
  EXPECT_EQ(em(74, 21), std::string("ECF-IF MP-40 FI II  \0", 21));
  EXPECT_EQ(c[9], 2);  // no older model gets the cutter bit
}

TEST_F(Configuration, FirstFailingStepEndsTheFill) {
  EXPECT_EQ(ECFIF_le_configuracao(nullptr), 2);
  for (int v : {60, 11, 14, 27, 6, 17}) {
    reinicia();
    impressora_mfd("MP-4000 TH FI", 0x0102);
    if (v == 14) {
      impressora.recusa_a_partir_de(14, 1);  // the version read takes the first
    } else {
      impressora.recusa(v);
    }
    c.fill(0);
    EXPECT_EQ(ECFIF_le_configuracao(c.data()), 15) << v;
    EXPECT_EQ(c[74], 0) << v;  // names not written
  }
}

TEST_F(Configuration, FilledOnceThenFree) {
  impressora_mfd("MP-4000 TH FI", 0x0102);
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  const auto enviados = impressora.recebidos.size();
  EXPECT_EQ(ECFIF_pega_configuracao(), 0);
  EXPECT_EQ(impressora.recebidos.size(), enviados);
}

TEST_F(Configuration, FailureLeavesDefaultsAndTriesAgain) {
  impressora_mfd("MP-9999", 0x0100);
  std::memset(ECFIF_cfg, 0x77, 100);
  ECFIF_cfg[2] = ECFIF_cfg[3] = 0;
  EXPECT_EQ(ECFIF_pega_configuracao(), 39);
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(ECFIF_cfg[i], i == 5 ? 48 : i == 7 ? 1 : i == 8 ? 45 : 0) << i;
  const auto enviados = impressora.recebidos.size();
  EXPECT_EQ(ECFIF_pega_configuracao(), 39);
  EXPECT_GT(impressora.recebidos.size(), enviados);
  EXPECT_EQ(ECFBMTC_eh_versao_1_00(), 0);
}

TEST_F(Configuration, VersionZeroIsReadEveryTime) {
  impressora_mfd("MP-4000 TH FI", 0x0000);
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  const auto enviados = impressora.recebidos.size();
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  EXPECT_EQ(impressora.recebidos.size(), 2 * enviados);
}

TEST_F(Configuration, VersionTests) {
  for (int v : {0x0100, 0x0101, 0x0102, 0x0103}) {
    reinicia();
    impressora_mfd("MP-2100 TH FI", v);
    EXPECT_EQ(ECFBMTC_eh_versao_1_00(), v == 0x0100 ? 1 : 0);
    EXPECT_EQ(ECFBMTC_eh_versao_1_01(), v == 0x0101 ? 1 : 0);
    EXPECT_EQ(ECFBMTC_eh_versao_1_02(), v == 0x0102 ? 1 : 0);
  }
}

}  // namespace
