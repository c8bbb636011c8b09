// Non-fiscal receipts, linked receipts and management reports through
// ecfctl, the host kit and the driver against the emulator on a
// pseudo-terminal; every run of ecfctl is a till process of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sale_harness.h"

namespace {

using namespace sale_test;

class Documents : public TillTest<::testing::TestWithParam<Printer>> {
 protected:
  void SetUp() override {
    printer_ = {"--model", GetParam().model, "--protocol", GetParam().protocol};
    options_ = {"--protocol", GetParam().protocol};
    ASSERT_TRUE(start({})) << log();
    ASSERT_TRUE(add_methods()) << log();
  }

  // Runs the script; its output.
  std::string sale(const std::string &text) {
    Output o = ecfctl({"sale", script(text)});
    EXPECT_EQ(o.exit_code, 0) << o.out << o.err << log();
    EXPECT_NE(ecfctl({"status"}).out.find("document: no document open"), std::string::npos);
    return o.out;
  }
};

TEST_P(Documents, NonFiscalLinkedAndReportPrintedOnce) {
  // Cash withdrawal and supply as real receipts on the detail-tape printer's
  // totalizers; one command 25 with the cash codes on the older ones.
  const bool mfd = GetParam().mfd;
  const std::string in = mfd ? "2" : "51", out = mfd ? "1" : "52";
  sale("nf-open " + in + "\nnf-register " + in +
       " 100.00\ntotal\npay 1 100.00\nnf-close\nnf-open " + out + "\nnf-register " + out +
       " 25.50\ntotal\npay Dinheiro 25.50\nnf-close\n");
  EXPECT_EQ(printed("COMPROVANTE NAO-FISCAL"), 2u);
  EXPECT_EQ(printed(mfd ? "02 Suprimento" : "SUPRIMENTO"), 1u) << paper();
  EXPECT_EQ(printed(mfd ? "01 Sangria" : "SANGRIA"), 1u);

  // A card sale followed by its linked receipt.
  const std::string sold =
      sale("open\nitem 1 Agua 01 2 15.00\ntotal\npay \"Cartao Credito\" 30.00\nclose\n");
  const std::string coo = sold.substr(sold.find("COO ") + 4, 6);
  EXPECT_NE(ecfctl({"linkable"}).out.find("COO " + coo + ", Cartao Credito 30.00"),
            std::string::npos);
  sale("linked-open\nlinked-line \"VIA DO CLIENTE\"\nlinked-close\n");
  EXPECT_EQ(printed("COMPROVANTE CREDITO OU DEBITO"), 1u) << paper();
  EXPECT_EQ(printed("COO do documento vinculado: " + coo), 1u);
  EXPECT_EQ(printed("VIA DO CLIENTE"), 1u);
  EXPECT_EQ(printed("CCD:000001"), 1u);
  EXPECT_EQ(ecfctl({"linked-open"}).exit_code, 1);  // nothing left to tie one to

  // A management report with its type.
  write_file(dir_.file("KRELATG.TMP"), "12\r\n");
  sale("report-open\nreport-line \"Caixa 1\"\nreport-close\n");
  EXPECT_EQ(printed("Caixa 1"), 1u) << paper();
  // The older printers take no type; they begin the report with a Reading X.
  EXPECT_EQ(printed("Tipo: 12"), mfd ? 1u : 0u);
  EXPECT_EQ(printed("LEITURA X"), mfd ? 0u : 1u);
}

// Each document's close refused (the paper ran out), the till gone; the next
// till, on the saved record and a printer with paper again, repeats it.
TEST_P(Documents, RefusedCloseIsRepeatedByTheNextTill) {
  struct Case {
    bool mfd;            // the printers it runs on
    const char *script;  // opens the document, buffers its body
    const char *close;   // the close refused
    const char *repeat;  // as ecfctl names the repeat
    const char *body;    // printed once in the end
  } cases[] = {
      {true, "nf-open 2\nnf-register 2 10.00\ntotal\npay 1 10.00\n", "nf-close",
       "non-fiscal receipt close", "02 Suprimento"},
      {false, "nf-open 51\nnf-register 51 10.00\npay 1 10.00\n", "nf-close",
       "non-fiscal receipt close", "SUPRIMENTO"},
      {GetParam().mfd,
       "open\nitem 1 Agua 01 1 5.00\ntotal\npay \"Cartao Credito\" 5.00\nclose\n"
       "linked-open\nlinked-line \"Autorizacao 4242\"\n",
       "linked-close", "linked receipt close", "Autorizacao 4242"},
      // The older printers open a report with its text, at its close.
      {true, "report-open\nreport-line \"Sangrias do turno\"\n", "report-close", "report close",
       "Sangrias do turno"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.close);
    if (c.mfd != GetParam().mfd) continue;
    ASSERT_EQ(ecfctl({"sale", script(c.script)}).exit_code, 0) << log();
    // The text is printed before the paper runs out.
    ASSERT_EQ(ecfctl({"feed"}).exit_code, 0) << log();
    ASSERT_TRUE(start({"--fault", "paper-out"})) << log();
    EXPECT_EQ(ecfctl({c.close}).exit_code, 1);
    EXPECT_NE(ecfctl({"state"}).out.find(c.repeat), std::string::npos) << log();
    ASSERT_TRUE(start({})) << log();
    Output repeat = ecfctl({"repeat"});
    ASSERT_EQ(repeat.exit_code, 0) << repeat.out << repeat.err << log();
    EXPECT_EQ(printed(c.body), 1u) << paper();
    EXPECT_NE(ecfctl({"state"}).out.find("document: 0 "), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Printers, Documents,
                         ::testing::Values(Printer{"Mfd", "MP-4000 TH FI", "extended", true},
                                           Printer{"Older", "MP-20 FI II", "basic", false}),
                         name_of);

}  // namespace
