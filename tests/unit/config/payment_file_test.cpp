// The payment-method file reader on in-memory files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "setup/payment_file.h"

namespace {

namespace arq = ecf::setup::arquivo_fpag;

struct Leitura {
  int resultado;
  std::vector<std::string> campos;  // "" for an empty field
};

Leitura le(
    const std::string &texto, int chaves = 20, arq::Filtro filtro = [](int c) { return c; }) {
  std::string copia = texto;
  std::FILE *f = copia.empty() ? std::tmpfile() : fmemopen(copia.data(), copia.size(), "r");
  EXPECT_NE(f, nullptr);
  arq::Campo campos[arq::max_chaves];
  std::memset(campos, 0x55, sizeof campos);
  Leitura l;
  l.resultado = arq::le_secao(f, chaves, campos, filtro);
  std::fclose(f);
  for (int k = 0; k < chaves; ++k) {
    const auto *c = campos[k];
    if (c[0] == 0) {
      for (int i = 0; i < arq::tam_campo; ++i) EXPECT_EQ(c[i], 0) << "key " << k + 1;
      l.campos.emplace_back();
    } else {
      EXPECT_EQ(c[16], 0);
      l.campos.emplace_back(reinterpret_cast<const char *>(c), 16);
    }
  }
  return l;
}

const std::string secao = "[FORMAS DE PAGAMENTO]\n";

struct CasoValor {
  const char *nome;
  std::string arquivo;
  int resultado;
  std::string primeiro;  // entry of key 01
};

class PaymentFileValue : public ::testing::TestWithParam<CasoValor> {};

TEST_P(PaymentFileValue, ReadsKeyOne) {
  const auto &c = GetParam();
  const auto l = le(c.arquivo);
  EXPECT_EQ(l.resultado, c.resultado);
  EXPECT_EQ(l.campos[0], c.primeiro);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PaymentFileValue,
    ::testing::Values(
        CasoValor{"LeadingBlanksSkipped", secao + "01=   Cartao 1\n", 0, "Cartao 1        "},
        CasoValor{"NothingAfterKey", secao + "01=\n", 4, ""},
        CasoValor{"OnlyBlanksAfterKey", secao + "01=    \n", 4, ""},
        CasoValor{"LongValueCut", secao + "01=ABCDEFGHIJKLMNOPQRST\n", 0, "ABCDEFGHIJKLMNOP"},
        CasoValor{"TrailingBlanksStayCarriageReturnBeforeLineEndGoes", secao + "01=A  B \r\n", 0,
                  "A  B            "},
        CasoValor{"CarriageReturnInsideValueStays", secao + "01=A\rB\r\n", 0, "A\rB             "},
        CasoValor{"CrLfFile", "[FORMAS DE PAGAMENTO]\r\n# x\r\n01=Ticket\r\n", 0,
                  "Ticket          "},
        CasoValor{"CarriageReturnAtEndOfFile", secao + "01=Ticket\r", 0, "Ticket          "},
        CasoValor{"CrLfLineOfHundredCharacters", secao + "01=" + std::string(97, 'z') + "\r\n", 0,
                  std::string(16, 'z')},
        CasoValor{"HashInValueIsText", secao + "01=Vale # 2\n", 0, "Vale # 2        "},
        CasoValor{"LastLineWithoutLineEnd", secao + "01=Dinheiro", 0, "Dinheiro        "},
        CasoValor{"SectionInLowerCase", "[formas de pagamento]\n01=Pix\n", 0, "Pix             "},
        CasoValor{"SectionMissing", "[OUTRA]\n01=Pix\n", 3, ""}, CasoValor{"EmptyFile", "", 3, ""},
        CasoValor{"SectionAsLastLineWithoutLineEnd", "[FORMAS DE PAGAMENTO]", 4, ""},
        CasoValor{"CommentedKeyIgnored", secao + "#01=Velho\n01=Novo\n", 0, "Novo            "},
        CasoValor{"CommentedSectionIgnored", "# [FORMAS DE PAGAMENTO]\n01=Pix\n", 3, ""},
        CasoValor{"KeyBeforeSectionNotRead", "01=Antes\n" + secao + "02=Depois\n", 0, ""},
        CasoValor{"SearchRunsPastNextSection", secao + "[OUTRA]\n01=Depois\n", 0,
                  "Depois          "},
        CasoValor{"KeyInsideLine", secao + "x01=Meio\n", 0, "Meio            "},
        CasoValor{"LineOfHundredCharacters", secao + "01=" + std::string(97, 'z') + "\n", 0,
                  std::string(16, 'z')},
        CasoValor{"LineOverHundredCharacters", secao + "01=" + std::string(98, 'z') + "\n", 4, ""},
        CasoValor{"KeySplitAcrossLineEnds", secao + "0\n1=Pix\n", 4, ""},
        CasoValor{"KeySplitAcrossCrLf", secao + "0\r\n1=Pix\r\n", 4, ""},
        CasoValor{"NulEndsValue", secao + std::string("01=Ab\0cd\n", 9), 0, "Ab              "}),
    [](const auto &info) { return std::string(info.param.nome); });

TEST(PaymentFile, EveryValueCharacterPassesTheFilter) {
  const auto l = le(secao + "01=abc\n", 20, [](int c) { return c == 'b' ? 'X' : c; });
  EXPECT_EQ(l.campos[0], "aXc             ");
}

TEST(PaymentFile, KeysFillTheirOwnEntriesUpToTheKeyCount) {
  const auto l20 = le(secao + "01=Dinheiro\n03=Cheque\n21=Vinte e um\n", 20);
  EXPECT_EQ(l20.resultado, 0);
  EXPECT_EQ(l20.campos[0], "Dinheiro        ");
  EXPECT_EQ(l20.campos[1], "");
  EXPECT_EQ(l20.campos[2], "Cheque          ");
  EXPECT_EQ(le(secao + "21=Vinte e um\n", 20).resultado, 4);
  const auto l50 = le(secao + "21=Vinte e um\n50=Cinquenta\n", 50);
  EXPECT_EQ(l50.resultado, 0);
  EXPECT_EQ(l50.campos[20], "Vinte e um      ");
  EXPECT_EQ(l50.campos[49], "Cinquenta       ");
}

TEST(PaymentFile, HostileFilesEndWithoutOverrun) {
  const std::vector<std::string> arquivos = {
      secao + std::string(100000, 'x'),
      secao + std::string(5000, '#'),
      secao + "01=" + std::string(100000, ' ') + "\n",
      std::string(3000, '[') + secao + "01=a\n",
      secao + std::string(1000, '\n') + "01=a",
      secao + "01=\0\0\0\n" + std::string(300, '\0'),
  };
  for (const auto &a : arquivos) {
    const auto l = le(a, 50);
    EXPECT_TRUE(l.resultado == 0 || l.resultado == 3 || l.resultado == 4);
  }
}

}  // namespace
