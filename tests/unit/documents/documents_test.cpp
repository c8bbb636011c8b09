// Non-fiscal and linked receipts and management reports against the
// emulated printer; a hook keeps each command's bytes and refuses chosen ones.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/states.h"
#include "documents/report_type_file.h"
#include "driver_test.h"
#include "platform/platform.h"

namespace {

using std::string;

class Documentos : public ecftest::PrinterTest {
 protected:
  // What the host's repeat runs for the repeat code left.
  static int repete() { return ecf::core::operacao_a_repetir(ECFBMTCAUX_o_que_repetir)(); }
  static unsigned char &estado() { return BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC]; }
  static int qtd_pagtos() { return BMTCLOCAL_d[BMTCLOCAL_D_QTD_PAGTOS_VINCULAVEIS]; }
  static string info(int codigo) {
    char t[ECFIF_TAM_TEXTO_INFO] = "";
    return ECFIF_le_info_modo(t, codigo, 1) == 0 ? t : "-";
  }
};

// A record handed back damaged: consumer fields without terminators end at
// their width, in the block and in the log.
TEST_F(Documentos, UnterminatedConsumerFieldsEndAtTheirWidth) {
  connect(12);
  std::fill_n(BMTCLOCAL_d + BMTCLOCAL_D_CONSUMIDOR_CPF_CNPJ, 30 + 31 + 81, 'A');
  restart();
  ASSERT_EQ(ECFIF_inicio_venda(), 0);
  EXPECT_TRUE(ecftest::log_has("cf_abertura_txt(" + string(29, 'A') + "," + string(30, 'A') + "," +
                               string(80, 'A') + ")..."));
  EXPECT_EQ(printer->args(0), string(139, 'A'));
}

TEST_F(Documentos, RealNonFiscalReceiptWithItsFailures) {
  connect(12);
  ECFIF_identifica_consumidor(1, "12345678909");
  EXPECT_EQ(ECFBMTC_registra_em_cnf(2, "100"), 1);  // none open
  ASSERT_EQ(ECFIF_inicia_cnf(2), 0);
  EXPECT_EQ(printer->args(77), "12345678909" + string(18, ' '));  // the consumer block
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_CONSUMIDOR_CPF_CNPJ], 0);
  // Bad codes and amounts never reach the printer.
  EXPECT_EQ(ECFBMTC_registra_em_cnf(31, "100"), 2);
  EXPECT_EQ(ECFBMTC_registra_em_cnf(2, "00123456789012345"), 2);
  EXPECT_EQ(printer->count(78), 0);
  ASSERT_EQ(ECFBMTC_registra_em_cnf(2, "0005000"), 0);
  EXPECT_EQ(printer->args(78), "0200000000005000");
  // A refused registration keeps the accepted one.
  printer->refuse(78, 1);
  EXPECT_NE(ECFBMTC_registra_em_cnf(2, "7000"), 0);
  ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
  EXPECT_EQ(printer->args(79), "d" + string(14, '0'));
  // Unpaid, the close is refused; its hand-over to this end is bounded.
  EXPECT_NE(ECFIF_fim_cnf(), 0);
  EXPECT_EQ(printer->count(34), 2);
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 4);
  ASSERT_EQ(ECFBMTC_pagamento(1, "5000", "", ""), 0);
  ASSERT_EQ(repete(), 0);
  EXPECT_EQ(printer->count(34), 3);
  EXPECT_EQ(estado(), 0);

  // Nothing registered: cancelled with 81.
  ASSERT_EQ(ECFIF_inicia_cnf(1), 0);
  ASSERT_EQ(ECFIF_fim_cnf(), 0);
  EXPECT_EQ(printer->args(81), "");
  // A refused opening is repeated with its code; a refusal while the printer
  // already has one open is taken as the opening.
  printer->refuse(77, 1);
  EXPECT_NE(ECFIF_inicia_cnf(4), 0);
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 8);
  ASSERT_EQ(repete(), 0);
  EXPECT_EQ(estado(), 3);
  printer->refuse(77, 1);
  EXPECT_EQ(ECFBMTC_abre_cnf(nullptr, nullptr, nullptr), 0);
  EXPECT_TRUE(ecftest::log_has("abre_cnf()=34, tratado como OK."));
}

TEST_F(Documentos, SimulatedReceiptIsOneCommand25AfterARestart) {
  const std::tuple<int, int, const char *> casos[] = {
      {52, 2, "SA00000000002500Cheque          "},
      {51, 0, "SU00000000002500"},  // no payment taken: no name
      {7, 51, "0700000000002500"},  // past the table: no name
  };
  int numero = 0;
  connect(1);
  for (const auto &[codigo, forma, enviado] : casos) {
    ASSERT_EQ(ECFIF_inicia_cnf(static_cast<unsigned>(codigo)), 0);
    ASSERT_EQ(ECFBMTC_registra_em_cnf(3, "1000"), 0);
    ASSERT_EQ(ECFBMTC_registra_em_cnf(codigo, "2500"), 0);  // the last one counts
    if (forma == 2) {
      ASSERT_EQ(ECFBMTC_pagamento(2, "2500", "", ""), 0);
    } else {
      BMTCLOCAL_d[BMTCLOCAL_D_FORMA_PAGTO_CNF] = static_cast<unsigned char>(forma);
    }
    EXPECT_EQ(printer->count(72) + printer->count(77) + printer->count(78), 0);
    // Its value, what is left to pay, and the number it takes when it closes.
    EXPECT_EQ(info(1) + "|" + info(3) + "|" + info(51),
              (forma == 2 ? "2500|0|" : "2500|2500|") + std::to_string(++numero));
    restart();  // the payment table is read again
    ASSERT_EQ(ECFIF_fim_cnf(), 0);
    EXPECT_EQ(printer->args(25), enviado);
    EXPECT_EQ(ECFIF_fim_cnf(), 0);  // nothing open: nothing sent
    EXPECT_EQ(printer->count(25), 1);
  }
}

TEST_F(Documentos, LinkedReceiptTriesTheNewestPaymentFirst) {
  for (int modelo : {12, 1}) {
    connect(modelo);
    ASSERT_EQ(ECFIF_inicio_venda(), 0);
    ASSERT_EQ(ECFBMTC_registra_item("1", "Cafe", "01", "1000", "9000"), 0);
    ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
    for (const char *v : {"100", "200", "300", "8400"})
      ASSERT_EQ(ECFBMTC_pagamento(3, v, "", ""), 0);
    ASSERT_EQ(ECFIF_fim_venda(), 0);
    ASSERT_EQ(qtd_pagtos(), 4);
    ECFIF_identifica_consumidor(1, "12345678909");
    printer->refuse(66, 2);
    ASSERT_EQ(ECFIF_cnf_vinculado(), 0);
    const string a = printer->args(66);
    EXPECT_EQ(a.substr(0, 30), "Cartao Credito  00000000000200");
    EXPECT_EQ(a.size(), modelo == 12 ? 65u : 36u);  // consumer block on MFD only
    EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_CONSUMIDOR_CPF_CNPJ], 0);
    EXPECT_EQ(qtd_pagtos(), 1);
    ASSERT_EQ(ECFIF_imprime_linha("Via do cliente"), 0);
    printer->refuse(21, 1);
    EXPECT_NE(ECFIF_fim_cnf_vinc(), 0);
    EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 5);
    ASSERT_EQ(repete(), 0);
    EXPECT_EQ(printer->args(67), "Via do cliente\n");
    EXPECT_EQ(estado(), 0);
    printer->refuse(21, 1);
    EXPECT_EQ(ECFIF_fim_cnf_vinc(), 0);  // refused with nothing open: done
    printer->refuse(66, 1);
    EXPECT_EQ(ECFIF_cnf_vinculado(), 1);  // the last record refused: none left
    EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 9);
    EXPECT_EQ(repete(), 1);
  }
  unsigned char r[39];
  ASSERT_EQ(ECFBMTC_le_vinculavel(5, r), 0);
  EXPECT_EQ(string(reinterpret_cast<char *>(r), 39),
            string(6, '0') + '\0' + string(14, '0') + '\0' + string(16, ' ') + '\0');
  EXPECT_EQ(ECFBMTC_le_vinculavel(30, r), 2);
  EXPECT_EQ(ECFBMTC_le_vinculavel(0, nullptr), 2);
  EXPECT_EQ(ECFBMTC_cnfcd_segunda_via(), 15);
  EXPECT_EQ(ECFIF_copia_de_cnf_vinculado(), 15);
  EXPECT_EQ(ECFBMTC_cnfcd_abrir(nullptr, nullptr, nullptr), 1);  // nothing left to link
}

TEST_F(Documentos, ReportTypeFromTheFileOrTheSetting) {
  const std::pair<const char *, int> linhas[] = {{"7\n", 7}, {"12\r\n", 12}, {"123\n", -1},
                                                 {"\n", -1}, {"7", -1},      {"7\x1a\n", -1}};
  for (const auto &[linha, tipo] : linhas) {
    EXPECT_EQ(ecf::documents::tipo_da_linha(linha).value_or(-1), tipo) << linha;
  }
  EXPECT_FALSE(ecf::documents::tipo_da_linha(string(46, '1') + "\n"));

  connect(1);
  EXPECT_EQ(ECFIF_tem_relger(), 0);
  EXPECT_EQ(ECFIF_abre_relatorio(), 15);
  connect(12);
  EXPECT_EQ(ECFIF_tem_relger(), 1);
  ECFBMTC_tipo_relger = 105;
  // A file that is not a regular one is neither read nor waited on.
  const char *arquivo = ecf::documents::arquivo_tipo_relatorio;
  ASSERT_EQ(::mkfifo(arquivo, 0600), 0);
  ASSERT_EQ(ECFIF_abre_relatorio(), 0);
  ::unlink(arquivo);
  EXPECT_EQ(printer->args(83), "05");
  EXPECT_EQ(estado(), 4);
  ASSERT_EQ(ECFIF_fim_relat(), 0);
  EXPECT_EQ(printer->count(20) + printer->count(67), 0);  // an empty buffer: 21 only
  ASSERT_EQ(ECFIF_abre_relatorio(), 0);
  ECFIF_imprime_linha("Caixa 1");
  for (int c : {67, 20, 21}) printer->refuse(c, 1);
  EXPECT_NE(ECFIF_fim_relat(), 0);  // the text dropped, the close refused
  EXPECT_EQ(ECFBMTCAUX_o_que_repetir, 6);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_BUFFER_LINHAS], 0);
  ASSERT_EQ(repete(), 0);
}

}  // namespace
