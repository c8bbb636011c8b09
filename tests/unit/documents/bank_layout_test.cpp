// Bank codes and layout lines as the cheque takes them from a file; the
// built-in lines are checked by the cheques against the emulator.
#include <gtest/gtest.h>

#include <string>

#include "documents/bank_layout.h"

namespace ecf::documentos {
namespace {

std::string bytes(const Layout &l) {
  return std::string(l.vista());
}

struct CasoArquivo {
  const char *nome;
  std::string conteudo;
  const char *banco;
  bool achou;
  std::string esperado;
};

class Arquivo : public ::testing::TestWithParam<CasoArquivo> {};

TEST_P(Arquivo, FirstLineOfTheBank) {
  const CasoArquivo &c = GetParam();
  ProcuraLayout p(codigo_banco(c.banco));
  // Fed a byte at a time: a line may span any number of reads.
  for (char ch : c.conteudo) p.le(std::string_view(&ch, 1));
  p.fim();
  EXPECT_EQ(p.achou(), c.achou);
  if (c.achou) {
    EXPECT_EQ(bytes(p.layout()), c.esperado);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Linhas, Arquivo,
    ::testing::Values(CasoArquivo{"Separators", "001 1020\r\n341 | 51 10 01\n", "341", true,
                                  "\x33\x0a\x01"},
                      CasoArquivo{"FirstWins", "237 01\n237 02\n", "237", true, "\x01"},
                      CasoArquivo{"NoFinalLineFeed", "x\n12\n104 9901", "104", true, "\x63\x01"},
                      CasoArquivo{"ShortLinesSkipped", "1\n\n\n", "1", false, ""},
                      CasoArquivo{"NotThere", "001 10\n", "2", false, ""},
                      CasoArquivo{"BinaryEndsTheBytes",
                                  std::string("399 12\0\xff"
                                              "34\n",
                                              11),
                                  "399", true, "\x0c"},
                      CasoArquivo{"OddDigitDropped", "033 123\n", "33", true, "\x0c"},
                      CasoArquivo{"LongCodeKeepsItsLastThree", "345 10\n", "12345", true, "\x0a"},
                      CasoArquivo{"NoCodeIsZeros", "000 07\n", nullptr, true, "\x07"},
                      // 300 digits: only the first 231 after the code are kept.
                      CasoArquivo{"LongLineCut", "745" + std::string(300, '9') + "\n", "745", true,
                                  std::string(max_bytes_layout, '\x63')}),
    [](const auto &info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace ecf::documentos
