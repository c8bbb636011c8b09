// Payment-method cache, programming, the file and non-fiscal totalizer names.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/config_fixture.h"

namespace {

using ecftest::ConfigTest;
using ecftest::status_para;

// A printer table with the names at their positions.
std::string tabela(int primeiro, int passo, int tamanho,
                   const std::vector<std::pair<int, std::string>> &nomes) {
  std::string t(static_cast<std::size_t>(tamanho), '\0');
  for (const auto &[i, n] : nomes)
    t.replace(static_cast<std::size_t>(primeiro + passo * i), n.size(), n);
  return t;
}

std::string le_forma(int i, int esperado = 0) {
  char nome[17];
  std::memset(nome, 'x', sizeof nome);
  EXPECT_EQ(ECFIF_le_forma_de_pagamento(i, nome), esperado) << i;
  if (esperado != 0) return {};
  EXPECT_EQ(nome[16], 0);
  return std::string(nome, 16);
}

class PaymentMethods : public ConfigTest {};

TEST_F(PaymentMethods, MfdTableFromVariable49ReadOnce) {
  modelo_conhecido(true);
  impressora.define(
      49, tabela(0, 16, 620, {{0, "Dinheiro"}, {2, " Cartao"}, {19, "ABCDEFGHIJKLMNOP"}}));
  EXPECT_EQ(le_forma(0), "Dinheiro        ");
  EXPECT_EQ(le_forma(1), "                ");  // not programmed
  EXPECT_EQ(le_forma(2), ".Cartao         ");
  EXPECT_EQ(le_forma(19), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(impressora.variaveis_lidas(), (std::vector<int>{49}));
  EXPECT_EQ(ECFBMTC_carregou_fpag, 1);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(ECFBMTC_formas_pagto), 17),
            std::string("Dinheiro        \0", 17));
  EXPECT_EQ(ECFBMTC_formas_pagto[17], 0);
}

TEST_F(PaymentMethods, OlderTableFromVariable32AfterItsFirstByte) {
  modelo_conhecido(false);
  impressora.define(32, tabela(1, 16, 1925, {{0, "Dinheiro"}, {49, "Ultima"}}));
  EXPECT_EQ(le_forma(0), "Dinheiro        ");
  EXPECT_EQ(le_forma(49), "Ultima          ");
  EXPECT_EQ(impressora.variaveis_lidas(), (std::vector<int>{32}));
}

TEST_F(PaymentMethods, IndexOutsideTheTableAndFailedReadReadAgainNextTime) {
  modelo_conhecido(true);
  le_forma(-1, 19);
  le_forma(20, 19);
  modelo_conhecido(false);
  le_forma(50, 19);
  EXPECT_TRUE(impressora.recebidos.empty());
  modelo_conhecido(true);
  impressora.recusa(49, 0x10, 0x01);
  le_forma(0, 12);
  EXPECT_EQ(ECFBMTC_carregou_fpag, 0);
  impressora.variaveis_recusadas.clear();
  impressora.define(49, "Pix");
  EXPECT_EQ(le_forma(0), "Pix             ");
}

TEST_F(PaymentMethods, ProgrammingSendsSixteenCharactersAndDropsTheCache) {
  modelo_conhecido(true);
  impressora.define(49, "Dinheiro");
  le_forma(0);
  struct Caso {
    const char *nome;
    std::string args;
  };
  for (const Caso &c : {Caso{"Pix", "Pix             "}, Caso{" Vale", ".Vale           "},
                        Caso{"Cartao de credito parcelado", "Cartao de credit"}}) {
    impressora.recebidos.clear();
    EXPECT_EQ(ECFBMTC_programa_forma_pagamento(c.nome), 0);
    ASSERT_EQ(impressora.recebidos.size(), 1u);
    EXPECT_EQ(impressora.recebidos[0].comando, 71);
    EXPECT_EQ(impressora.recebidos[0].args, c.args);
    EXPECT_EQ(ECFBMTC_carregou_fpag, 0);
  }
  impressora.recebidos.clear();
  le_forma(0);
  EXPECT_EQ(impressora.variaveis_lidas(), (std::vector<int>{49}));
}

TEST_F(PaymentMethods, ProgrammingRefusals) {
  EXPECT_EQ(ECFBMTC_programa_forma_pagamento(nullptr), 2);
  EXPECT_EQ(ECFBMTC_programa_forma_pagamento(""), 2);
  EXPECT_TRUE(impressora.recebidos.empty());
  impressora.responde(71, status_para(9));
  EXPECT_EQ(ECFBMTC_programa_forma_pagamento("Pix"), 9);
}

class NonFiscalTotalizers : public ConfigTest {
 protected:
  std::string le_cnf(int i, int esperado = 0) {
    unsigned char r[18];
    std::memset(r, 'x', sizeof r);
    EXPECT_EQ(ECFIF_le_cnf(i, r), esperado) << i;
    if (esperado != 0) return {};
    EXPECT_EQ(r[0], 2);
    EXPECT_EQ(r[17], 0);
    return std::string(reinterpret_cast<char *>(r + 1), 16);
  }
};

TEST_F(NonFiscalTotalizers, MfdNamesEveryNineteenBytes) {
  modelo_conhecido(true);
  impressora.define(50, tabela(0, 19, 780, {{0, "Sangria"}, {29, "Troco"}}));
  EXPECT_EQ(le_cnf(0), "Sangria         ");
  EXPECT_EQ(le_cnf(1), "                ");
  EXPECT_EQ(le_cnf(29), "Troco           ");
  le_cnf(30, 19);
  le_cnf(50, 19);
  le_cnf(-1, 19);
  EXPECT_EQ(impressora.vezes(35), 3);
}

TEST_F(NonFiscalTotalizers, OlderNamesEveryThirtyOneBytesAndTheFixedPair) {
  modelo_conhecido(false);
  impressora.define(33, tabela(12, 31, 1550, {{0, "Recebimento"}, {49, "Ultimo"}}));
  EXPECT_EQ(le_cnf(0), "Recebimento     ");
  EXPECT_EQ(le_cnf(49), "Ultimo          ");
  impressora.recebidos.clear();
  EXPECT_EQ(le_cnf(50), "SUPRIMENTO      ");
  EXPECT_EQ(le_cnf(51), "SANGRIA         ");
  EXPECT_TRUE(impressora.recebidos.empty());
  le_cnf(52, 19);
}

TEST_F(NonFiscalTotalizers, FailedReadIsPassedOn) {
  for (bool mfd : {true, false}) {
    reinicia();
    modelo_conhecido(mfd);
    impressora.recusa(mfd ? 50 : 33, 0x10, 0x01);
    le_cnf(0, 12);
  }
}

// The payment-method file in a directory of its own.
class PaymentConfigFile : public ConfigTest {
 protected:
  std::filesystem::path dir;
  std::filesystem::path anterior;

  void SetUp() override {
    ConfigTest::SetUp();
    anterior = std::filesystem::current_path();
    dir = std::filesystem::temp_directory_path() /
          ("ecf_fpag_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    modelo_conhecido(true);
  }
  void TearDown() override {
    std::filesystem::current_path(anterior);
    std::filesystem::remove_all(dir);
    ConfigTest::TearDown();
  }
  void escreve(const std::string &texto, const char *nome = "BMTCFPAG.CFG") {
    std::ofstream(dir / nome, std::ios::binary) << texto;
  }
  std::vector<std::string> programados() const {
    std::vector<std::string> p;
    for (const auto &r : impressora.recebidos)
      if (r.comando == 71) p.push_back(r.args);
    return p;
  }
};

TEST_F(PaymentConfigFile, ProgramsWhatThePrinterLacksInKeyOrder) {
  struct Caso {
    const char *arquivo;
    std::string tabela;  // variable 49; empty: refused
    std::vector<std::string> programados;
  };
  const Caso casos[] = {
      {"[Formas de Pagamento]\n01=Dinheiro\n04=Pix\n03=  Cheque\n",
       tabela(0, 16, 620, {{5, "Dinheiro        "}}),
       {"Cheque          ", "Pix             "}},
      {"[FORMAS DE PAGAMENTO]\n01=Dinheiro\n02=Pix\n",
       tabela(0, 16, 620, {{0, "Pix"}, {1, "Dinheiro"}}),
       {}},
      {"[FORMAS DE PAGAMENTO]\n01=.Vale\n",
       " Vale",
       {".Vale           "}},  // a leading blank does not count
      {"[FORMAS DE PAGAMENTO]\n01=Dinheiro\n", "", {"Dinheiro        "}},
  };
  for (const Caso &c : casos) {
    reinicia();
    modelo_conhecido(true);
    escreve(c.arquivo);
    if (c.tabela.empty())
      impressora.recusa(49);
    else
      impressora.define(49, c.tabela);
    EXPECT_EQ(ECFBMTC_le_arquivo_CFG(c.programados.empty() ? "BMTCFPAG.CFG" : nullptr), 0)
        << c.arquivo;
    EXPECT_EQ(programados(), c.programados) << c.arquivo;
    EXPECT_EQ(ECFBMTC_formas_pagto, nullptr);  // read afresh next time
  }
}

TEST_F(PaymentConfigFile, FirstProgrammingFailureStops) {
  escreve("[FORMAS DE PAGAMENTO]\n01=A\n02=B\n03=C\n");
  impressora.responde(71, status_para(0));
  impressora.responde(71, status_para(12));
  EXPECT_EQ(ECFBMTC_le_arquivo_CFG(nullptr), 12);
  EXPECT_EQ(programados().size(), 2u);
}

TEST_F(PaymentConfigFile, OlderPrinterReadsFiftyKeys) {
  modelo_conhecido(false);
  escreve("[FORMAS DE PAGAMENTO]\n21=Vinte e um\n50=Cinquenta\n");
  EXPECT_EQ(ECFBMTC_le_arquivo_CFG(nullptr), 0);
  EXPECT_EQ(programados(), (std::vector<std::string>{"Vinte e um      ", "Cinquenta       "}));
  EXPECT_EQ(impressora.variaveis_lidas(), (std::vector<int>{32}));
}

TEST_F(PaymentConfigFile, FileFailuresSendNothing) {
  struct Caso {
    const char *caminho;
    const char *conteudo;  // null: no file
    int resultado;
  };
  for (const Caso &c : {Caso{nullptr, nullptr, 2}, Caso{"", "[FORMAS DE PAGAMENTO]\n01=A\n", 2},
                        Caso{".", nullptr, 2}, Caso{nullptr, "[OUTRA]\n01=A\n", 3},
                        Caso{nullptr, "[FORMAS DE PAGAMENTO]\n01=\n02=   \n", 4},
                        Caso{nullptr, "[FORMAS DE PAGAMENTO]\n01=A", 4}}) {
    std::filesystem::remove(dir / "BMTCFPAG.CFG");
    if (c.conteudo != nullptr) escreve(c.conteudo);
    impressora.recebidos.clear();
    EXPECT_EQ(ECFBMTC_le_arquivo_CFG(c.caminho), c.resultado)
        << (c.conteudo ? c.conteudo : "(no file)");
    EXPECT_TRUE(impressora.recebidos.empty());
  }
}

TEST_F(PaymentConfigFile, FifoIsNotWaitedOn) {
  ASSERT_EQ(::mkfifo((dir / "BMTCFPAG.CFG").c_str(), 0600), 0);
  EXPECT_EQ(ECFBMTC_le_arquivo_CFG(nullptr), 2);
}

}  // namespace
