// The tax situation table: programmed rates and the fixed situations.
#include <gtest/gtest.h>

#include <string>

#include "config/config_fixture.h"

namespace {

using ecftest::ConfigTest;

class TaxRates : public ConfigTest {
 protected:
  std::string le(int i, int esperado = 0) {
    unsigned char r[10];
    std::memset(r, 'x', sizeof r);
    EXPECT_EQ(ECFIF_le_tributacao(i, r), esperado) << i;
    return esperado == 0 ? std::string(reinterpret_cast<char *>(r), 10) : std::string();
  }
  // Command 26 data: rates as packed-decimal pairs from data byte 1.
  void aliquotas(std::initializer_list<std::pair<int, std::string>> taxas) {
    std::string d(33, '\0');
    for (const auto &[i, bcd] : taxas) d.replace(static_cast<std::size_t>(1 + 2 * i), 2, bcd);
    impressora.dados_comando[26] = d;
  }
};

std::string registro(int tipo, const char *codigo, const char *taxa) {
  std::string r(10, '\0');
  r[0] = static_cast<char>(tipo);
  r.replace(1, 2, codigo);
  r.replace(4, 5, taxa);
  return r;
}

TEST_F(TaxRates, FixedSituationsWithoutExchange) {
  for (bool mfd : {false, true}) {
    reinicia();
    modelo_conhecido(mfd);
    EXPECT_EQ(le(16), registro(4, "FF", "00.00"));
    EXPECT_EQ(le(17), registro(5, "II", "00.00"));
    EXPECT_EQ(le(18), registro(6, "NN", "00.00"));
    if (mfd) {
      EXPECT_EQ(le(19), registro(24, "SF", "00.00"));
      EXPECT_EQ(le(20), registro(25, "SI", "00.00"));
      EXPECT_EQ(le(21), registro(26, "SN", "00.00"));
    } else {
      for (int i : {19, 20, 21}) le(i, 19);
    }
    for (int i : {-1, 22}) le(i, 19);
    EXPECT_TRUE(impressora.recebidos.empty());
  }
}

TEST_F(TaxRates, RateTypeFromTheServiceTaxFlags) {
  modelo_conhecido(true);
  aliquotas({{0, "\x18\x00"}, {8, std::string("\x05\x25", 2)}, {15, "\x12\x34"}});
  impressora.define(29, std::string("\x80\x00", 2));
  EXPECT_EQ(le(0), registro(20, "01", "18.00"));
  EXPECT_EQ(le(8), registro(0, "09", "05.25"));
  EXPECT_EQ(le(15), registro(0, "16", "12.34"));
  impressora.define(29, std::string("\x00\x81", 2));  // rate 9 is the top bit of the second byte
  EXPECT_EQ(le(0), registro(0, "01", "18.00"));
  EXPECT_EQ(le(8), registro(20, "09", "05.25"));
  EXPECT_EQ(le(15), registro(20, "16", "12.34"));
  EXPECT_EQ(impressora.comandos(),
            (std::vector<int>{26, 35, 26, 35, 26, 35, 26, 35, 26, 35, 26, 35}));
}

TEST_F(TaxRates, UnprogrammedPositionSkipsTheFlags) {
  aliquotas({});
  EXPECT_EQ(le(3), registro(99, "04", "00.00"));
  EXPECT_EQ(impressora.comandos(), (std::vector<int>{26}));
}

TEST_F(TaxRates, FailuresArePassedOn) {
  impressora.responde(26, ecftest::status_para(12));
  le(0, 12);
  reinicia();
  aliquotas({{0, "\x18\x00"}});
  impressora.recusa(29);
  le(0, 15);
}

}  // namespace
