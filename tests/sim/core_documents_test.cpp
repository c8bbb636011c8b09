// Non-fiscal receipts, linked receipts, management reports and the
// document slot.
#include "core_test_support.h"

namespace ecfsim::test {
namespace {

std::string link_args(std::string_view method, uint64_t amount, uint64_t coo) {
  return field(method, 16, ' ', true) + field(std::to_string(amount), 14) +
         field(std::to_string(coo), 6);
}

TEST(CoreNonFiscal, ReceiptWithRegistrationsTotalAndPayment) {
  Bench b;
  ASSERT_FALSE(refused(b.run(77)));
  EXPECT_TRUE(refused(b.run(77)));
  EXPECT_TRUE(refused(b.run(0)));
  ASSERT_FALSE(refused(b.run(78, "02" + field("5000", 14))));
  EXPECT_EQ(b.run(78, "31" + field("5000", 14)).st2 & 0x81, 0x81);
  EXPECT_EQ(b.run(78, "02" + field("0", 14)).exec_status, 70);
  EXPECT_EQ(b.run(72, pay(1, 5000)).exec_status, 23);
  ASSERT_FALSE(refused(b.run(79, "d" + field("0", 14))));
  ASSERT_FALSE(refused(b.run(72, pay(1, 5000))));
  ASSERT_FALSE(refused(b.run(34)));
  const std::string t = b.run(27).data;
  EXPECT_EQ(bcd_value(t.substr(133 + 7, 7)), 5000u);  // totalizer 02
  EXPECT_EQ(bcd_value(t.substr(203, 7)), 5000u);      // cash entry (Suprimento)
  EXPECT_EQ(bcd_value(t.substr(210, 9)), 0u);         // no grand total
  EXPECT_EQ(bcd_value(b.var(7).data), 1u);
}

TEST(CoreNonFiscal, ZeroReceiptAndCancel) {
  Bench b;
  b.run(77);
  EXPECT_EQ(b.run(79, "d" + field("0", 14)).exec_status, 70);
  ASSERT_FALSE(refused(b.run(81)));
  EXPECT_EQ(b.run(81).exec_status, 8);
  Bench older(1);
  EXPECT_EQ(older.run(77).st1 & 0x04, 0x04);
}

TEST(CoreNonFiscal, VoucherInOneCommand) {
  Bench b(1);
  ASSERT_FALSE(refused(b.run(25, "SU" + field("10000", 14))));
  ASSERT_FALSE(refused(b.run(25, "SA" + field("2500", 14) + field("Dinheiro", 16, ' ', true))));
  ASSERT_FALSE(refused(b.run(25, "03" + field("700", 14))));
  EXPECT_EQ(b.run(25, "SU" + field("0", 14)).exec_status, 70);
  EXPECT_EQ(b.run(25, "XX" + field("1", 14)).st2 & 0x81, 0x81);
  EXPECT_EQ(b.run(25, "SU" + field("1", 14) + field("Vale", 16, ' ', true)).st2 & 0x81, 0x81);
  EXPECT_EQ(b.run(25, "SU").st1 & 0x01, 0x01);
  const std::string t = b.run(27).data;
  EXPECT_EQ(bcd_value(t.substr(196, 7)), 2500u);
  EXPECT_EQ(bcd_value(t.substr(203, 7)), 10000u);
  EXPECT_EQ(bcd_value(t.substr(133 + 14, 7)), 700u);
  EXPECT_EQ(bcd_value(b.var(6).data), 3u);
  EXPECT_NE(b.paper_text().find("SANGRIA"), std::string::npos);
}

TEST(CoreLinked, OpensOnlyForAKnownPaymentOnce) {
  Bench b;
  const uint64_t coo = sell(b, 1234, "01", 3);
  EXPECT_TRUE(refused(b.run(66, link_args("Cartao Credito", 1000, coo))));
  EXPECT_TRUE(refused(b.run(66, link_args("Cheque", 1234, coo))));
  EXPECT_TRUE(refused(b.run(66, link_args("Cartao Credito", 1234, coo + 5))));
  ASSERT_FALSE(refused(b.run(66, link_args("Cartao Credito", 1234, coo))));
  EXPECT_TRUE(refused(b.run(20, "texto\n")));
  ASSERT_FALSE(refused(b.run(67, "VIA DO CLIENTE\n")));
  ASSERT_FALSE(refused(b.run(21)));
  EXPECT_EQ(b.run(21).exec_status, 101);
  EXPECT_TRUE(refused(b.run(66, link_args("Cartao Credito", 1234, coo))));
  EXPECT_EQ(b.run(67, "x\n").st2 & 0x01, 0x01);
  ASSERT_FALSE(refused(b.run(91)));
  ASSERT_FALSE(refused(b.run(92)));
  const std::string t = b.paper_text();
  EXPECT_NE(t.find("SEGUNDA VIA"), std::string::npos);
  EXPECT_NE(t.find("REIMPRESSAO"), std::string::npos);
  EXPECT_EQ(bcd_value(b.var(52).data), 1u);
}

TEST(CoreLinked, ConsumerBlockOnlyOnDetailTapeModels) {
  Bench b;
  const uint64_t coo = sell(b, 500, "01", 2);
  EXPECT_FALSE(refused(b.run(66, link_args("Cheque", 500, coo) + field("CPF", 29, ' ', true))));
  Bench older(1);
  const uint64_t c2 = sell(older, 500, "01", 2);
  EXPECT_EQ(older.run(66, link_args("Cheque", 500, c2) + std::string(29, ' ')).st1 & 1, 1);
}

TEST(CoreReports, ManagementReportOpensByTypeOrByText) {
  Bench b;
  EXPECT_EQ(b.run(83, "1").st1 & 0x01, 0x01);
  ASSERT_FALSE(refused(b.run(83, "07")));
  ASSERT_FALSE(refused(b.run(20,
                             "linha um\n\x0e"
                             "expandida\n")));
  EXPECT_TRUE(refused(b.run(67, "x\n")));
  ASSERT_FALSE(refused(b.run(21)));
  EXPECT_EQ(bcd_value(b.var(54).data), 1u);
  ASSERT_FALSE(refused(b.run(20, "abre sozinho\n")));
  ASSERT_FALSE(refused(b.run(21)));
  EXPECT_EQ(bcd_value(b.var(54).data), 2u);
  const std::string t = b.paper_text();
  EXPECT_NE(t.find("RELATORIO GERENCIAL"), std::string::npos);
  EXPECT_NE(t.find("Tipo: 07"), std::string::npos);
  EXPECT_NE(t.find("abre sozinho"), std::string::npos);
}

TEST(CoreReports, OlderModelsOpenTheReportWithAReadingX) {
  Bench b(1);
  EXPECT_EQ(b.run(83, "01").st1 & 0x04, 0x04);
  ASSERT_FALSE(refused(b.run(20)));
  EXPECT_EQ(bcd_value(b.var(6).data), 2u);
  EXPECT_NE(b.paper_text().find("LEITURA X"), std::string::npos);
  ASSERT_FALSE(refused(b.run(20, "texto\n")));
  ASSERT_FALSE(refused(b.run(21)));
  EXPECT_EQ(bcd_value(b.var(6).data), 2u);
}

TEST(CoreSlot, AuthenticationChequeAndCmc7ByCapability) {
  Bench mp4000(12);  // neither cheques nor authentication
  EXPECT_EQ(mp4000.run(16, "01").st1 & 0x04, 0x04);
  EXPECT_EQ(mp4000.run(57, std::string(100, '0')).st1 & 0x04, 0x04);
  EXPECT_EQ(mp4000.run(76).st1 & 0x04, 0x04);

  Bench mp7000(7);
  // The slot as an operator works it: document in, printed, released, out.
  EXPECT_EQ(mp7000.run(ext(48)).data, std::string(1, '\0'));
  ASSERT_FALSE(refused(mp7000.run(16, "01" + std::string(48, 'A'))));
  EXPECT_TRUE(refused(mp7000.run(16, "01")));  // no fresh document yet
  EXPECT_EQ(mp7000.run(ext(48)).data, std::string(1, '\0'));
  EXPECT_EQ(mp7000.run(ext(48)).data, std::string(1, '\x06'));
  EXPECT_EQ(mp7000.run(ext(48)).data, std::string(1, '\x02'));
  EXPECT_EQ(mp7000.run(ext(48)).data, std::string(1, '\0'));
  const Reply cmc7 = mp7000.run(76, "1");
  ASSERT_FALSE(refused(cmc7));
  EXPECT_EQ(cmc7.data.size(), 39u);
  EXPECT_EQ(cmc7.layout, Layout::DataFirst);
  ASSERT_FALSE(refused(mp7000.run(ext(49))));
  EXPECT_EQ(mp7000.run(ext(48)).data, std::string(1, '\x06'));

  // The older-model probe: a short cheque command is a parameter-count
  // error on a cheque model and unknown on the others.
  const std::string probe = "00000000000100Tervalo S/A - Teste de Impressao.";
  EXPECT_EQ(Bench(4).run(57, probe).st1 & 0x05, 0x01);
  EXPECT_EQ(Bench(2).run(57, probe).st1 & 0x05, 0x04);
  Bench mp50(4);
  std::string cheque = field("15050", 14) + field("JOAO", 45, ' ', true) +
                       field("CURITIBA", 27, ' ') + "04122026" + std::string(13, '\x05');
  ASSERT_FALSE(refused(mp50.run(57, cheque)));
  EXPECT_NE(mp50.paper_text().find("150,50"), std::string::npos);
}

TEST(CoreMisc, ApplicationIdItemLineModeDrawerAndRates) {
  Bench b;
  EXPECT_FALSE(refused(b.run(ext(64), std::string(84, 'P'))));
  EXPECT_EQ(b.run(ext(64), "short").st1 & 1, 1);
  EXPECT_EQ(Bench(5).run(ext(64), std::string(84, 'P')).st1 & 4, 4);
  EXPECT_FALSE(refused(b.run(ext(60), "rumo73152")));
  EXPECT_TRUE(refused(b.run(ext(60), "rumo00000")));
  EXPECT_EQ(b.run(23).data, std::string(1, '\0'));
  EXPECT_FALSE(refused(b.run(22, "\x14")));
  EXPECT_EQ(b.run(23).data, std::string(1, '\x01'));
  EXPECT_EQ(b.run(23).data, std::string(1, '\0'));

  const Reply rates = b.run(26);
  ASSERT_EQ(rates.data.size(), 33u);
  EXPECT_EQ(rates.data.substr(1, 4), std::string("\x18\x00\x12\x00", 4));
  EXPECT_EQ(b.var(29).data, std::string("\x10\x00", 2));
  ASSERT_FALSE(refused(b.run(7, "07001")));
  EXPECT_EQ(b.run(26).data.substr(9, 2), std::string("\x07\x00", 2));
  EXPECT_EQ(b.var(29).data, std::string("\x18\x00", 2));
  for (int i = 0; i < 11; ++i) b.run(7, "0100");
  EXPECT_EQ(b.run(7, "0100").st2 & 0x09, 0x09);

  const Reply m = b.run(71, "Vale Refeicao");
  ASSERT_FALSE(refused(m));
  EXPECT_EQ(m.data, "04");
  EXPECT_EQ(b.run(71, "Vale Refeicao   ").data, "04");
  EXPECT_EQ(b.var(49).data.substr(48, 16), "Vale Refeicao   ");
  EXPECT_EQ(b.var(50).data.substr(19, 16), "Suprimento      ");
}

}  // namespace
}  // namespace ecfsim::test
