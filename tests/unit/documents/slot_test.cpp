// Authentication, cheques, CMC-7 and bar codes against the emulated printer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/files.h"
#include "documents/bank_layout.h"
#include "driver_test.h"
#include "platform/platform.h"

namespace {

constexpr int kSensor = 62 * 256 + 48;
constexpr int kRelease = 62 * 256 + 49;

class Documento : public ecftest::PrinterTest {
 protected:
  bool impresso(std::string_view t) const { return printer->printed(t) > 0; }
  static bool aviso(int tipo, std::string_view texto = "(null)") {
    const auto &n = ecftest::host().notices;
    return std::find(n.begin(), n.end(), std::pair<int, std::string>(tipo, texto)) != n.end();
  }
  // A card sale, then the linked receipt it allows.
  void abre_vinculado() {
    ASSERT_EQ(ecftest::sell_one("500", 3), 0);
    ASSERT_EQ(ECFBMTC_le_parametro(6), 0);
    char coo[7] = {};
    ECFBMTCAUX_bcd_para_asciiz(coo, ECFIF_buffer_protocolo + 3, 3);
    const std::string a = "Cartao Credito  00000000000500" + std::string(coo);
    ASSERT_EQ(ECFBMTC_exec_argum(66, reinterpret_cast<const unsigned char *>(a.data()),
                                 static_cast<int>(a.size())),
              0);
  }
};

TEST_F(Documento, AuthenticationAfterASaleOnEachProtocol) {
  for (bool estendido : {false, true}) {
    connect(7, estendido);
    ASSERT_EQ(ecftest::sell_one("500"), 0);
    EXPECT_EQ(ECFBMTC_autenticacao(7, "Pago"), 0);
    EXPECT_TRUE(impresso("[autenticacao] 07 "));
    EXPECT_EQ(printer->args(16), "07Pago" + std::string(44, ' '));
    EXPECT_TRUE(aviso(1));  // the stamped document is taken out
    EXPECT_EQ(ECFBMTC_autenticacao(100, nullptr), 2);
  }
}

TEST_F(Documento, AuthenticationFailures) {
  // Refused with 34 every time: four tries, four releases, and 34.
  connect(6);
  printer->refuse(16);
  EXPECT_EQ(ECFIF_autenticacao(nullptr), 34);
  EXPECT_EQ(printer->count(16), 4);
  EXPECT_EQ(printer->count(kRelease), 4);
  EXPECT_TRUE(aviso(3, "ImpressoraFalhou"));
  // Another refusal stops at once with its code.
  connect(6);
  printer->refuse(16, -1, 0x04);
  ECFBMTC_num_tetativas_autenticacao = 0;
  EXPECT_EQ(ECFIF_autenticacao("x"), 15);
  EXPECT_EQ(printer->count(16), 1);
  // Older printers: nothing without the flag, the printer's code with it.
  connect(3);
  EXPECT_EQ(ECFIF_autenticacao("x"), 0);
  EXPECT_EQ(printer->count(16), 0);
  ECFBMTC_flags = 1;
  printer->refuse(16);
  EXPECT_EQ(ECFIF_autenticacao("x"), 34);
  EXPECT_EQ(printer->args(16), "");
  // An unreadable configuration.
  std::memset(ECFIF_cfg, 0, sizeof ECFIF_cfg);
  ECFIF_versao_firmware = 0;
  printer->refuse(35, -1, 0x08);
  EXPECT_EQ(ECFIF_autenticacao("x"), 15);
}

TEST_F(Documento, InsertionWaitEndsWithATimeOut) {
  auto &p = connect(10);
  p.hook = [&p](int c, std::string_view a) -> std::optional<ecfsim::Reply> {
    if (c != kSensor) return std::nullopt;
    ecfsim::Reply r = p.printer.execute(static_cast<uint16_t>(c), a);
    r.data.assign(1, '\x02');  // no document, ever
    return r;
  };
  EXPECT_EQ(ECFIF_autenticacao("x"), 37);
  EXPECT_EQ(printer->count(16), 0);
  EXPECT_GE(ecftest::now_ms(), 120'000);
  EXPECT_TRUE(aviso(2));
}

// Bank codes and layout lines as the cheque takes them from a file.
TEST(BankLayoutFile, FirstLineOfTheBank) {
  using namespace ecf::documentos;
  struct Caso {
    std::string conteudo;
    const char *banco;
    std::string esperado;  // "" when not found
  };
  for (const Caso &c : {
           Caso{"001 1020\r\n341 | 51 10 01\n", "341", "\x33\x0a\x01"},  // separators
           Caso{"237 01\n237 02\n", "237", "\x01"},                      // the first wins
           Caso{"x\n12\n104 9901", "104", "\x63\x01"},                   // no final line feed
           Caso{"1\n\n\n", "1", ""},                                     // short lines skipped
           Caso{"001 10\n", "2", ""},
           Caso{std::string("399 12\0\xff"
                            "34\n",
                            11),
                "399", "\x0c"},                // binary ends the bytes
           Caso{"033 123\n", "33", "\x0c"},    // odd digit dropped
           Caso{"345 10\n", "12345", "\x0a"},  // a long code keeps its last three
           Caso{"000 07\n", nullptr, "\x07"},  // no code is zeros
           // 300 digits: only the first 231 after the code are kept.
           Caso{"745" + std::string(300, '9') + "\n", "745", std::string(max_bytes_layout, '\x63')},
       }) {
    ProcuraLayout p(codigo_banco(c.banco));
    // Fed a byte at a time: a line may span any number of reads.
    for (char ch : c.conteudo) p.le(std::string_view(&ch, 1));
    p.fim();
    const auto achado = [](bool achou, const std::string &l) { return achou ? "=" + l : "-"; };
    EXPECT_EQ(achado(p.achou(), std::string(p.layout().vista())),
              achado(!c.esperado.empty(), c.esperado))
        << c.conteudo;
  }
}

TEST_F(Documento, ChequeWithAndWithoutTheBankInTheFile) {
  ecftest::ScratchDir aqui;  // its layout file seen by it only
  std::ofstream("BTMFDBAN.CFG") << "237 | 01 02 03\n" << std::string(5000, 'x') << "\n";
  for (const char *banco : {"237", "1"}) {
    connect(6);
    ASSERT_EQ(ECFCHQ_imprime_cheque("Maria", "Curitiba", "051226", banco, "15050", "Aluguel",
                                    nullptr, "nao impresso"),
              0);
    const std::string a = printer->args(57);
    EXPECT_EQ(a.substr(0, 94), "00000000015050Maria" + std::string(59, ' ') + "Curitiba05122026");
    const std::string layout = std::strcmp(banco, "237") == 0
                                   ? std::string("\x01\x02\x03")
                                   : "\x33\x0a\x01\x06\x12\x32\x36\x41\x02\x05\x08\x0a\x0c";
    EXPECT_EQ(a.substr(94, layout.size()), layout);
    EXPECT_EQ(a.size(), 94 + layout.size() + 120);
    EXPECT_EQ(a.substr(94 + layout.size(), 8), "Aluguel ");
    EXPECT_EQ(printer->args(58), "Real" + std::string(15, ' '));
    EXPECT_TRUE(impresso("[cheque] valor R$ 150,50 (Reais)"));
    EXPECT_TRUE(impresso("[cheque] Curitiba, 05/12/2026"));
    // The record survives the final release.
    EXPECT_EQ(printer->commands.back(), kRelease);
    EXPECT_EQ(ECFIF_tam_retorno, 3);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(ECFIF_retornado), 3), std::string("\1\0\0", 3));
  }
  // A file that cannot be read: the built-in line.
  connect(3);
  ecf::core::arquivos::falha_na_operacao(1);
  ASSERT_EQ(ECFCHQ_imprime_cheque("M", "C", "051226", "237", "1", nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(printer->args(57).substr(94, 8), "\x33\x0a\x01\x06\x12\x32\x36\x47");
}
TEST_F(Documento, ChequeOnTheSlotModelAndItsFailures) {
  connect(7);
  ASSERT_EQ(
      ECFCHQ_imprime_cheque("Joao", "Recife", "01012027", "341", "100", nullptr, nullptr, nullptr),
      0);
  EXPECT_EQ(printer->args(57).substr(94, 2), "\x46\x0a");  // the group's built-in line
  EXPECT_TRUE(impresso("[cheque] a Joao"));
  // Refused: the code, the notice and the release.
  printer->refuse(57);
  printer->clear_sent();
  EXPECT_EQ(ECFCHQ_imprime_cheque("Joao", "Recife", "010127", "341", "100", "", "", ""), 34);
  EXPECT_TRUE(aviso(3, "ImpressoraFalhou"));
  EXPECT_EQ(printer->commands.back(), kRelease);
  // Bad amounts and dates are refused before anything is sent.
  printer->clear_sent();
  for (auto [data, valor] : std::vector<std::pair<const char *, const char *>>{
           {"010127", "123456789012345"}, {"01012", "100"}, {nullptr, "100"}, {"010127", nullptr}})
    EXPECT_EQ(ECFCHQ_imprime_cheque("J", "R", data, "1", valor, "", "", ""), 2);
  EXPECT_TRUE(printer->commands.empty());
  EXPECT_EQ(ECFCHQ_usa_verso_cheque(nullptr, nullptr), 61);
  EXPECT_EQ(ECFCHQ_imprime_verso_cheque(nullptr, nullptr, nullptr), 61);
  EXPECT_EQ(ECFCHQ_cancela_cheque() + ECFIF_sensores_ok(), 0);
  connect(12);
  EXPECT_EQ(ECFCHQ_imprime_cheque("J", "R", "010127", "1", "1", "", "", ""), 61);
}

TEST_F(Documento, Cmc7ReadOnEachProtocol) {
  for (bool estendido : {false, true}) {
    auto &p = connect(10, estendido);
    char linha[38] = "lixo";
    ASSERT_EQ(ECFIF_le_cmc7(linha, sizeof linha), 0);
    EXPECT_STREQ(linha, "<23712345<0180000015>120000000027:");
    EXPECT_EQ(printer->args(76), "1");
    EXPECT_EQ(ECFIF_le_cmc7(linha, 37), 2);
    EXPECT_EQ(p.count(76), 2);
    EXPECT_EQ(p.count(kRelease), 2);
  }
  connect(14);
  printer->refuse(76);
  char linha[40] = "velho";
  EXPECT_EQ(ECFIF_le_cmc7(linha, sizeof linha), 34);
  EXPECT_STREQ(linha, "");
  EXPECT_EQ(printer->count(kRelease), 1);
  EXPECT_EQ(ECFIF_le_cmc7(nullptr, 40), 2);
  connect(12);
  EXPECT_EQ(ECFIF_le_cmc7(linha, sizeof linha), 69);
}

TEST_F(Documento, BarCodesOfEachTypeTheirRulesAndSettings) {
  auto &p = connect(12);
  abre_vinculado();
  const std::pair<int, const char *> codigos[] = {{1, "1234567"}, {2, "789123456789"},
                                                  {3, "ABC-123"}, {4, "Pedido 42"},
                                                  {5, "A1234B"},  {6, "00123456"}};
  const char *nomes[] = {"EAN-8", "EAN-13", "CODE 39", "CODE 128", "CODABAR", "ITF"};
  ASSERT_EQ(ECFIF_imprime_linha("Texto antes"), 0);  // printed first
  const std::size_t antes = p.paper.size();
  for (const auto &[tipo, dados] : codigos) {
    ASSERT_EQ(ECFIF_imprime_codbarras(tipo, dados), 0) << tipo;
    EXPECT_TRUE(impresso(std::string(nomes[tipo - 1]) + " " + dados)) << tipo;
  }
  EXPECT_EQ(p.paper.at(antes), "Texto antes");

  printer->clear_sent();
  EXPECT_EQ(ECFIF_imprime_codbarras(2, "7891234567890"), 2);
  EXPECT_EQ(ECFIF_imprime_codbarras(6, "12A4"), 2);
  EXPECT_EQ(ECFIF_imprime_codbarras(1, ""), 2);
  EXPECT_EQ(ECFIF_imprime_codbarras(0, "1"), 69);
  EXPECT_EQ(ECFIF_imprime_codbarras(7, "1"), 69);
  EXPECT_TRUE(printer->commands.empty());
  ECFBMTCAUX_tipo_codbar = 3;
  ECFBMTCAUX_margem_codbar = 456;  // low byte C8h: no character filter on it
  ECFBMTCAUX_altura_codbar = 1;
  ECFBMTCAUX_barra_codbar = 5;
  ECFBMTCAUX_pos_txt_codbar = 3;
  ASSERT_EQ(ECFIF_imprime_codbarras(0, "abc"), 0);
  std::string enviados;
  for (const auto &a : printer->arguments) enviados += a + "|";
  constexpr char esperados[] =
      "\x1dw\x02|\x1dk\x84\xc8\x01|\x1dh\x3c|\x1d"
      "f\0|\x1dH\x03|\x1dkE\x03"
      "abc|";
  EXPECT_EQ(enviados, std::string(esperados, sizeof esperados - 1));
  ECFBMTCAUX_margem_codbar = 600;
  printer->clear_sent();
  ASSERT_EQ(ECFIF_imprime_codbarras(0, "x"), 0);
  EXPECT_EQ(printer->arguments[1], std::string("\x1dk\x84\x02\x00", 5));
  // A refused setting stops the rest.
  printer->refuse(67);
  printer->clear_sent();
  EXPECT_EQ(ECFIF_imprime_codbarras(0, "x"), 34);
  EXPECT_EQ(printer->commands.size(), 1u);
  for (int modelo : {3, 8}) {
    connect(modelo);
    EXPECT_EQ(ECFIF_imprime_codbarras(1, "1234567"), 15);
  }
}

}  // namespace
