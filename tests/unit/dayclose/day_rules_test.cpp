// The rules of the day with the virtual clock: the date arithmetic of the
// clock correction, the 02:00 turn of the fiscal day, the wait after a
// reduction, the initial COO file and the failure codes.
#include <cstring>
#include <fstream>

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

TEST_F(DiaTest, ArquivoDoCooInicial) {
  EmulatedPrinter imp(12);
  std::string coo = std::string("\x00\x01\x23", 3);
  imp.hook = [&](int cmd, std::string_view a) -> std::optional<ecfsim::Reply> {
    if (cmd != 35 || a != std::string_view("\x06", 1)) return std::nullopt;
    return ecfsim::Reply{0, 0, 0, ecfsim::Layout::DataFirst, coo};
  };
  ECFBMTCAUX_garante_coo_inicial();
  EXPECT_EQ(ecftest::read_file("BMTCOOIN.TXT"), "124");
  ECFBMTCAUX_garante_coo_inicial();  // an existing file is left alone
  EXPECT_EQ(ECFBMTCAUX_grava_coo_inicial(2), 0);
  EXPECT_EQ(ecftest::read_file("BMTCOOIN.TXT"), "125");
  coo = std::string("\x99\x99\x99", 3);
  EXPECT_EQ(ECFBMTCAUX_grava_coo_inicial(1), 0);
  EXPECT_EQ(ecftest::read_file("BMTCOOIN.TXT"), "1");
  EXPECT_EQ(ECFBMTCAUX_grava_coo_inicial(2), 0);
  EXPECT_EQ(ecftest::read_file("BMTCOOIN.TXT"), "2");

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
               {4u * 3600u * 1000u, "RZ:timeout.", 7805, 7805 + 200},
               {0, "RZ:saindo da espera(falha 15).", 5, 10}};  // a status read refused
  for (const auto &c : casos) {
    EmulatedPrinter &imp = connect(12, false, c.ocupada_ms);
    if (c.ocupada_ms == 0) {
      imp.hook = [&imp, reduziu = false](
                     int cmd, std::string_view a) mutable -> std::optional<ecfsim::Reply> {
        reduziu |= cmd == 5;
        if (!reduziu || cmd != 35) return std::nullopt;
        return imp.refusal(cmd, a, 0x08);
      };
    }
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

// With the correction asked for, the reduction carries the host's clock,
// moved by at most 293 s; a printer ahead is waited for before going back.
TEST_F(DiaTest, ReducaoAcertaORelogio) {
  struct Caso {
    int modelo, adiantado_s, modo;
    const char *argumento;  // of command 5
    std::int64_t espera_s;
  } casos[] = {
      {1, 30, 0, "020126 1000", 0},     // within a minute: as the printer has it
      {1, -100, 0, "020126 1000", 0},   // behind: put forward
      {1, -1000, 1, "0201260948", 0},   // far behind: 293 s at most; no blank
      {1, 500, 0, "020126 1003", 293},  // ahead: waited out, then set back
      {12, 0, 0, "0201261000", 0},      // this model takes no blank
      {1, 0, -1, "", 0},                // the clock unreadable: no reduction
  };
  for (const auto &c : casos) {
    SCOPED_TRACE(c.argumento);
    EmulatedPrinter &imp = connect(c.modelo, false, 0);
    ECFBMTCAUX_acerta_relogio = 1;
    ECFBMTCAUX_modo_acerta_relogio = c.modo < 0 ? 0 : c.modo;
    imp.run_clock_from(momento(2026, 1, 2, 10, 0) + ecftest::now_ms() / 1000 + c.adiantado_s);
    std::string argumento;
    imp.hook = [&](int cmd, std::string_view a) -> std::optional<ecfsim::Reply> {
      if (cmd == 5) argumento = a;
      if (cmd == 35 && c.modo < 0) return imp.refusal(cmd, a, 0x08);
      return std::nullopt;
    };
    const std::int64_t inicio = ecftest::now_ms();
    EXPECT_EQ(ECFIF_reducao_z() != 0, c.modo < 0);
    EXPECT_EQ(argumento.substr(0, std::strlen(c.argumento)), c.argumento);
    EXPECT_EQ(ECFBMTCAUX_o_que_repetir, c.modo < 0 ? 12 : 0);
    EXPECT_GE((ecftest::now_ms() - inicio) / 1000, c.espera_s);
    EXPECT_EQ(ecftest::log_has("reduz_ajustando_relogio()=0."), c.modo >= 0);
  }
}

// Entry points that are other names of the day's operations or fixed answers.
TEST_F(DiaTest, NomesAlternativosERespostasFixas) {
  EmulatedPrinter &imp = connect(1, false, 0);
  EXPECT_EQ(ECFIF_pode_ler_rz(), 0);
  const std::pair<int (*)(), int> casos[] = {
      {ECFIF_leit_x_troca1, 0},
      {ECFIF_leit_x_troca2, 0},
      {ECFIF_rz_sem_esperar, 0},
      {ECFIF_reducao_z_com_relat, 34},  // reduced already
      {ECFIF_pode_reduzir, 1},
      {ECFIF_pode_ler_dados_antes_da_rz, 1},
      {ECFIF_espera_terminar_reducao, 0},
      {ECFIF_inicio_nao_icms, 15},
      {ECFIF_final_nao_icms, 15},
  };
  for (const auto &[entrada, resultado] : casos) EXPECT_EQ(entrada(), resultado);
  EXPECT_EQ(imp.printed("LEITURA X"), 2);
  EXPECT_EQ(imp.printed("REDUCAO Z"), 1);
}

}  // namespace
}  // namespace day_test
