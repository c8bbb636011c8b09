// The rules of the day with the virtual clock: the date arithmetic of the
// clock correction, the 02:00 turn of the fiscal day, the wait after a
// reduction, the initial COO file and the failure codes.
#include <fstream>
#include <sstream>

#include "day_printer.h"
#include "dayclose/clock_record.h"

namespace day_test {
namespace {

using ecf::dayclose::Momento;

TEST(RegistroDeRelogio, SomaETiraAtravessamDiasMesesAnosEBissextos) {
  struct Caso {
    Momento de;
    int segundos;  // > 0 added, < 0 taken off
    Momento para;
  } casos[] = {
      {{0x31, 0x12, 0x09, 0x23, 0x59, 0x30}, 120, {0x01, 0x01, 0x10, 0x00, 0x01, 0x30}},
      {{0x01, 0x03, 0x08, 0x00, 0x01, 0x00}, -120, {0x29, 0x02, 0x08, 0x23, 0x59, 0x00}},
      {{0x01, 0x03, 0x09, 0x00, 0x01, 0x00}, -120, {0x28, 0x02, 0x09, 0x23, 0x59, 0x00}},
      {{0x01, 0x01, 0x00, 0x00, 0x00, 0x10}, -61, {0x31, 0x12, 0x99, 0x23, 0x59, 0x09}},
      {{0x28, 0x02, 0x28, 0x23, 0x58, 0x00}, 293, {0x29, 0x02, 0x28, 0x00, 0x02, 0x53}},
      {{0x30, 0x04, 0x26, 0x10, 0x59, 0x59}, 1, {0x30, 0x04, 0x26, 0x11, 0x00, 0x00}},
      {{0x04, 0x12, 0x26, 0x10, 0x04, 0x00}, -293, {0x04, 0x12, 0x26, 0x09, 0x59, 0x07}},
  };
  for (const auto &c : casos) {
    Momento m = c.de;
    if (c.segundos > 0)
      ecf::dayclose::soma_segundos(m, c.segundos);
    else
      ecf::dayclose::tira_segundos(m, -c.segundos);
    EXPECT_EQ(m, c.para) << c.segundos;
  }
  char texto[14];
  const Momento m{0x04, 0x12, 0x26, 0x09, 0x05, 0x07};
  EXPECT_EQ(ecf::dayclose::texto_do_momento(m, false, texto), 13u);
  EXPECT_STREQ(texto, "041226 090507");
  EXPECT_EQ(ecf::dayclose::texto_do_momento(m, true, texto), 12u);
  EXPECT_STREQ(texto, "041226090507");
}

// Variable 27 (movement date) and the clock as the printer answers them.
struct Verificacao {
  std::string data_movimento;
  std::int64_t relogio;
  std::uint8_t st1;
  int esperado;
};

class VerificaTest : public DiaTest, public ::testing::WithParamInterface<Verificacao> {};

TEST_P(VerificaTest, ReducaoPendenteVirandoAsDuasHoras) {
  EmulatedPrinter imp(12);
  const auto &c = GetParam();
  imp.run_clock_from(c.relogio);
  imp.hook = [&](int cmd, std::string_view a) -> std::optional<ecfsim::Reply> {
    if (cmd == 19 && c.st1) {
      ecfsim::Reply r;
      r.st1 = c.st1;
      return r;
    }
    if (cmd != 35 || a != std::string_view("\x1B", 1)) return std::nullopt;
    ecfsim::Reply r;
    r.data = c.data_movimento;
    r.layout = ecfsim::Layout::DataFirst;
    return r;
  };
  EXPECT_EQ(ECFIF_verifica(), c.esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, VerificaTest,
    ::testing::Values(
        Verificacao{std::string("\x03\x12\x26"), momento(2026, 12, 4, 1, 59, 59), 0, 0},
        Verificacao{std::string("\x03\x12\x26"), momento(2026, 12, 4, 2, 0), 0, 16},
        Verificacao{std::string("\x03\x12\x26"), momento(2026, 12, 5, 0, 30), 0, 16},
        Verificacao{std::string("\x05\x12\x26"), momento(2026, 12, 4, 10, 0), 0, 20},
        Verificacao{std::string(3, '\0'), momento(2030, 1, 1, 10, 0), 0, 0},
        Verificacao{std::string("\x31\x12\x25"), momento(2026, 1, 1, 0, 30), 0, 0},
        Verificacao{std::string("\x28\x02\x28"), momento(2028, 3, 1, 1, 0), 0, 16},
        Verificacao{std::string("\x29\x02\x28"), momento(2028, 3, 1, 1, 59), 0, 0},
        Verificacao{std::string("\x04\x12\x26"), momento(2026, 12, 4, 10, 0), 0x80, 11},
        Verificacao{std::string("\x04\x12\x26"), momento(2026, 12, 4, 10, 0), 0x10, 12}));

std::string conteudo(const char *arquivo) {
  std::ifstream f(arquivo, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

TEST_F(DiaTest, ArquivoDoCooInicial) {
  EmulatedPrinter imp(12);
  std::string coo = std::string("\x00\x01\x23", 3);
  imp.hook = [&](int cmd, std::string_view a) -> std::optional<ecfsim::Reply> {
    if (cmd != 35 || a != std::string_view("\x06", 1)) return std::nullopt;
    return ecfsim::Reply{0, 0, 0, ecfsim::Layout::DataFirst, coo};
  };
  ECFBMTCAUX_garante_coo_inicial();
  EXPECT_EQ(conteudo("BMTCOOIN.TXT"), "124");
  ECFBMTCAUX_garante_coo_inicial();  // an existing file is left alone
  EXPECT_EQ(ECFBMTCAUX_grava_coo_inicial(2), 0);
  EXPECT_EQ(conteudo("BMTCOOIN.TXT"), "125");
  coo = std::string("\x99\x99\x99", 3);
  EXPECT_EQ(ECFBMTCAUX_grava_coo_inicial(1), 0);
  EXPECT_EQ(conteudo("BMTCOOIN.TXT"), "1");
  EXPECT_EQ(ECFBMTCAUX_grava_coo_inicial(2), 0);
  EXPECT_EQ(conteudo("BMTCOOIN.TXT"), "2");

  std::ofstream("BMTCOOIN.TXT") << "1234567";
  char texto[7];
  EXPECT_EQ(ECFBMTCAUX_le_de_arquivo_coo_inicial(texto), 0);
  EXPECT_STREQ(texto, "123456");
  std::filesystem::remove("BMTCOOIN.TXT");
  EXPECT_EQ(ECFBMTCAUX_le_de_arquivo_coo_inicial(texto), 83);
  EXPECT_STREQ(texto, "");
  std::filesystem::create_directory("BMTCOOIN.TXT");  // cannot be written
  EXPECT_EQ(ECFBMTCAUX_grava_coo_inicial(1), 82);
  EXPECT_TRUE(ecftest::log_has("gr(BMTCOOIN.TXT,1)=82."));
}

TEST_F(DiaTest, EsperaAposAReducaoTerminaNoPrazoOuComDuasRespostas) {
  struct Caso {
    std::uint32_t ocupada_ms;
    const char *fim;
    std::int64_t minimo_s, maximo_s;
  } casos[] = {{20000, "RZ:fim do bitmap.", 20, 30},
               {4u * 3600u * 1000u, "RZ:timeout.", 7805, 7805 + 200}};
  for (const auto &c : casos) {
    ecftest::reset();
    ECFLOG_modo = 3;
    EmulatedPrinter imp(12, c.ocupada_ms);
    ASSERT_EQ(ECFIF_pega_configuracao(), 0);
    const std::int64_t inicio = ecftest::now_ms();
    ASSERT_EQ(ECFIF_reducao_z(), 0);
    const std::int64_t s = (ecftest::now_ms() - inicio) / 1000;
    EXPECT_TRUE(ecftest::log_has("RZ:vai esperar bitmap(130m)."));
    EXPECT_TRUE(ecftest::log_has(c.fim)) << c.fim;
    EXPECT_GE(s, c.minimo_s);
    EXPECT_LE(s, c.maximo_s);
    EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DIA], 5);
    EXPECT_EQ(imp.printed("REDUCAO Z"), 1);
  }
}

}  // namespace
}  // namespace day_test
