// Every information code against the emulated printer after a sale, in both
// protocols, on a detail-tape model and an older one: each answer agrees with
// what the emulator's books hold.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver_test.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace info_test {
namespace {

class InfoNoEmulador : public ecftest::EachModelAndProtocol {
 protected:
  std::string info(int codigo) {
    char texto[ECFIF_TAM_TEXTO_INFO] = "x";
    const int r = ECFIF_le_info_modo(texto, codigo, 0);
    return r == 0 ? std::string(texto) : "r" + std::to_string(r);
  }

  // The emulator's own books, read past the driver and the wire.
  std::string livro(int comando, std::string args = {}) {
    return printer->printer.execute(static_cast<uint16_t>(comando), args).data;
  }
  static std::string digitos(const std::string &d, std::size_t pos, std::size_t n) {
    std::string s;
    for (std::size_t i = pos; i < pos + n; ++i) {
      const auto b = static_cast<unsigned char>(d.at(i));
      s += static_cast<char>('0' + (b >> 4));
      s += static_cast<char>('0' + (b & 15));
    }
    return s;
  }
  std::string variavel(int v) {
    const std::string d = livro(35, std::string(1, static_cast<char>(v)));
    return digitos(d, 0, d.size());
  }
  static long long valor(const std::string &d, std::size_t pos, int n = 1) {
    long long soma = 0;
    for (int i = 0; i < n; ++i) soma += std::stoll(digitos(d, pos + 7 * i, 7));
    return soma;
  }

  void venda() {
    ASSERT_EQ(ECFIF_inicio_venda(), 0);
    ASSERT_EQ(ECFBMTC_registra_item("1", "Arroz", "01", "1000", "1000"), 0);
    ASSERT_EQ(ECFBMTC_registra_item("2", "Corte", "04", "1000", "500"), 0);
    ASSERT_EQ(ECFBMTC_registra_item("3", "Isento", "II", "1000", "100"), 0);
    ASSERT_EQ(ECFBMTC_registra_item("4", "Nao tributado", "NN", "1000", "200"), 0);
    ASSERT_EQ(ECFBMTC_registra_item("5", "Substituicao", "FF", "1000", "300"), 0);
    ASSERT_EQ(ECFBMTC_registra_item("6", "Devolvido", "02", "1000", "400"), 0);
    ASSERT_EQ(ECFBMTC_canc_item(6), 0);
    ASSERT_EQ(ECFIF_desconto_subtot("100"), 0);
    ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
    ASSERT_EQ(ECFBMTC_pagamento(1, "500", "", ""), 0);
    // Receipt of 20.00 with 5.00 paid.
    EXPECT_EQ(info(1), "00000000002000");
    EXPECT_EQ(info(2), "500");
    EXPECT_EQ(info(3), "1500");
    ASSERT_EQ(ECFBMTC_pagamento(1, "1500", "", ""), 0);
    ASSERT_EQ(ECFIF_fim_venda(), 0);
    ECFIF_le_info(nullptr, 0);
  }

  const bool mfd = EachModelAndProtocol::mfd();
};

TEST_P(InfoNoEmulador, EveryCodeAgreesWithTheBooksAfterASale) {
  venda();
  const std::string gt = variavel(3);  // 18 digits
  // The emulator spreads the subtotal discount over the items: 10.00,
  // 5.00, 2.00, 3.00 and 1.00 become 9.53, 4.77, 1.88, 2.86 and 0.96.
  // Totals by rate: the ICMS rates in table order, the first ISS rate.
  EXPECT_EQ(info(200), "000000000000953");
  EXPECT_EQ(info(201), "000000000000000");
  EXPECT_EQ(info(202), "000000000000000");
  EXPECT_EQ(info(203), "r15");
  EXPECT_EQ(info(250), "000000000000477");
  EXPECT_EQ(info(251), "r15");
  // Non-taxed, tax substitution and exempt: three different totals.
  EXPECT_EQ(info(100), "000000000000188");
  EXPECT_EQ(info(110), "000000000000286");
  EXPECT_EQ(info(120), "000000000000096");
  EXPECT_EQ(info(21), "0" + gt);
  EXPECT_EQ(info(22), std::to_string(std::stoll(gt)));
  EXPECT_EQ(info(20), std::string(18, '0'));

  struct Contador {
    int codigo, variavel;
    bool so_mfd;
  };
  for (const Contador &c : {Contador{51, 6, false},
                            Contador{53, 9, false},
                            {54, 8, false},
                            {55, 10, false},
                            {56, 55, true},
                            {57, 7, false},
                            {58, 54, true},
                            {59, 52, true},
                            {31, 14, false},
                            {42, 11, false}}) {
    EXPECT_EQ(info(c.codigo), c.so_mfd && !mfd ? "r15" : variavel(c.variavel)) << c.codigo;
  }
  const std::string totais = mfd ? livro(87) : std::string();
  const auto soma_ou_var = [&](std::size_t a, std::size_t b, int v) {
    return mfd ? std::to_string(valor(totais, a) + valor(totais, b)) : variavel(v);
  };
  EXPECT_EQ(info(300), soma_ou_var(168, 189, 4));
  EXPECT_EQ(info(330), soma_ou_var(154, 175, 5));
  EXPECT_EQ(info(360), soma_ou_var(161, 182, 30));
  EXPECT_EQ(info(330), mfd ? "100" : "00000000000100");
  EXPECT_EQ(info(300), mfd ? "400" : "00000000000400");

  // The identity and what the configuration learnt.
  EXPECT_EQ(info(33), mfd ? "BEMATECH       " : "BEMATECH");
  EXPECT_EQ(info(34), mfd ? "MP-4000 TH FI       " : "MP-20 FI II ECF-IF");
  EXPECT_EQ(info(38), info(34));
  EXPECT_EQ(info(36), "BE");
  EXPECT_EQ(info(40), mfd ? "010001" : "0310");
  EXPECT_EQ(info(63), mfd ? "01" : "03");
  EXPECT_EQ(info(32), mfd ? "BE120000000000000001" : "470800000000000");
  EXPECT_EQ(info(43), "12.345.678/0001-95" + std::string(mfd ? "  " : ""));
  EXPECT_EQ(info(44), mfd ? "123.456.789.111     " : "123.456.789.11");
  EXPECT_EQ(info(45), "LOJA EXEMPLO LTDA");
  EXPECT_EQ(info(46), "RUA DAS FLORES, 100 - CENTRO ");
  EXPECT_EQ(info(49), mfd ? "10000" : "r15");
  EXPECT_EQ(info(30) + info(39) + info(41), "0 20070103090807");
}

TEST_P(InfoNoEmulador, ReductionDataAfterAReductionZ) {
  venda();
  const std::string gt = variavel(3);
  ASSERT_EQ(ECFBMTC_exec(5), 0);
  ECFIF_le_info(nullptr, 0);
  const std::string z = mfd ? livro(88) : livro(62 * 256 + 55);
  EXPECT_EQ(info(20), gt);
  EXPECT_EQ(info(22), "0");
  EXPECT_EQ(info(52), mfd ? digitos(z, 5, 3) : digitos(z, 284, 3));
  EXPECT_EQ(info(52), variavel(6));
  const long long soma = mfd ? valor(z, 159, 28) : valor(z, 10, 2) + valor(z, 56, 19);
  EXPECT_EQ(info(70), std::to_string(soma));
  EXPECT_EQ(soma, 2000 + 100 + 400);  // sales, discount and cancellation
  EXPECT_EQ(info(53), "0001");
}

TEST_P(InfoNoEmulador, ModeZeroReadsTheTotalizersOnceAndShortAnswersComeDataFirst) {
  ASSERT_EQ(ECFBMTC_exec(6254), 0);
  EXPECT_EQ(ECFIF_tam_resposta_ecf, 5);
  ASSERT_EQ(ECFBMTC_exec(6248), 0);
  EXPECT_EQ(ECFIF_tam_resposta_ecf, 4);
  printer->clear_sent();
  info(100);
  info(110);
  info(21);
  EXPECT_EQ(printer->count(27), 1);
  char texto[ECFIF_TAM_TEXTO_INFO];
  ASSERT_EQ(ECFIF_le_info(texto, 120), 0);
  ASSERT_EQ(ECFIF_le_info_modo(texto, 120, 1), 0);
  EXPECT_EQ(printer->count(27), 3);
}

INSTANTIATE_TEST_SUITE_P(ModelosEProtocolos, InfoNoEmulador, ecftest::each_model_and_protocol(),
                         ecftest::model_and_protocol);

}  // namespace
}  // namespace info_test
