// The shared core: the file seam, the programs it runs and the reset to the
// load-time state.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <string>

#include "core/files.h"
#include "core/reset.h"
#include "driver_test.h"
#include "ecfbmtc/receipt.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"

namespace {

using namespace ecf::core;

using Core = ecftest::DriverTest;

TEST_F(Core, FileSeamFailsTheChosenOperation) {
  char nome[] = "/tmp/ecf_core_XXXXXX";
  const int fd = ::mkstemp(nome);
  ASSERT_GE(fd, 0);
  ::close(fd);
  const std::string outro = std::string(nome) + ".b";
  arquivos::falha_na_operacao(2);
  {
    const arquivos::Arquivo a = arquivos::abre_acrescimo(nome);
    ASSERT_TRUE(a);
    EXPECT_FALSE(arquivos::escreve(a, "abc", 3));  // the second operation
    EXPECT_TRUE(arquivos::escreve(a, "abc", 3));   // the hook fired once
  }
  EXPECT_FALSE(arquivos::abre_leitura("/"));  // not a regular file
  arquivos::falha_na_operacao(1);
  EXPECT_FALSE(arquivos::renomeia(nome, outro.c_str()));
  ASSERT_TRUE(arquivos::renomeia(nome, outro.c_str()));
  {
    const arquivos::Arquivo a = arquivos::abre_leitura(outro.c_str());
    char buf[8] = {};
    EXPECT_EQ(arquivos::le(a, buf, sizeof buf), 3);
    EXPECT_EQ(std::string(buf), "abc");
  }
  EXPECT_TRUE(arquivos::remove(outro.c_str()));
  EXPECT_FALSE(arquivos::remove(outro.c_str()));
}

TEST_F(Core, ResetRestoresLoadTimeSettings) {
  ECFBMTCAUX_altura_codbar = 1;
  ECFIF_maxtam_resposta = 7;
  ECFBMTC_unidade_do_item[0] = 'K';
  arquivos::falha_na_operacao(1);
  volta_ao_estado_inicial();
  EXPECT_EQ(ECFBMTCAUX_altura_codbar, 60);
  EXPECT_EQ(ECFIF_maxtam_resposta, 300);
  EXPECT_STREQ(ECFBMTC_unidade_do_item, "UN");
  EXPECT_TRUE(arquivos::abre_leitura("/proc/self/status"));  // the hook is disarmed
}

TEST_F(Core, ProgramsRunWithTheirExitStatusAndAreKilledPastTheLimit) {
  using Argv = std::array<const char *, 5>;
  EXPECT_EQ(arquivos::executa(Argv{"sh", "-c", "sleep 0; exit 3", nullptr}.data(), 5), 3);
  EXPECT_EQ(arquivos::executa(Argv{"sleep", "60", nullptr}.data(), 0), -1);
  EXPECT_EQ(arquivos::executa(Argv{"/nonexistent/program", nullptr}.data(), 5), -1);
  // No shell: each text is one word, and nothing in it runs.
  const char *hostil = "$(touch x); touch y";
  EXPECT_EQ(arquivos::executa(Argv{"test", hostil, "=", hostil, nullptr}.data(), 10), 0);
  EXPECT_EQ(arquivos::executa(Argv{"test", "a b", "=", "a", nullptr}.data(), 10), 1);
  EXPECT_FALSE(::access("x", F_OK) == 0 || ::access("y", F_OK) == 0);
  arquivos::Arquivo a = arquivos::abre_leitura("/proc/self/status");
  a = arquivos::abre_leitura("/proc/self/stat");
  char b[5] = "1 2 ";
  EXPECT_EQ(arquivos::le(a, b, 1), 1);
  BMTCLOCAL_troca_brancos_por_zeros(b, 3);  // the blank and fill helpers of the receipt
  EXPECT_STREQ(b + 1, "02 ");
  BMTCLOCAL_completa_campo(b, '*', 3);
  EXPECT_STREQ(b, "***");
}

}  // namespace
