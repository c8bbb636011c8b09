// 8-byte decimal values: exact digits in, exact digits out, no wrap-around.
#include "platform/decimal8.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using Valor = std::array<unsigned char, 8>;

Valor de(const char *texto) {
  Valor v{};
  _ato8(v.data(), texto);
  return v;
}

std::string texto(const Valor &v) {
  char buf[32];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(_8toa(buf, v.data()), buf);
  return buf;
}

TEST(Decimal8, ParsesAndWritesBackDigits) {
  struct Caso {
    const char *entrada;
    const char *saida;
  };
  for (const Caso c : {
           Caso{"0", "0"},
           Caso{"", "0"},
           Caso{"000000001234", "1234"},
           Caso{"  42", "42"},
           Caso{"\t7", "7"},
           Caso{"-150", "-150"},
           Caso{"+99", "99"},
           Caso{"12,50", "12"},
           Caso{"abc", "0"},
           Caso{"- 5", "0"},
           Caso{"9223372036854775807", "9223372036854775807"},
           Caso{"-9223372036854775808", "-9223372036854775808"},
           Caso{"9223372036854775808", "9223372036854775807"},
           Caso{"99999999999999999999999999", "9223372036854775807"},
           Caso{"-99999999999999999999999999", "-9223372036854775808"},
       }) {
    SCOPED_TRACE(c.entrada);
    EXPECT_EQ(texto(de(c.entrada)), c.saida);
  }
  // Zero is eight zero bytes, also for a missing text.
  EXPECT_EQ(de("0"), Valor{});
  Valor v{};
  v.fill(0xAA);
  _ato8(v.data(), nullptr);
  EXPECT_EQ(v, Valor{});
}

TEST(Decimal8, ArithmeticIsExactAndSaturates) {
  struct Caso {
    const char *a;
    const char *b;
    const char *soma;
    const char *diferenca;
    int comparacao;
  };
  for (const Caso c : {
           Caso{"1050", "250", "1300", "800", 1},
           Caso{"250", "1050", "1300", "-800", -1},
           Caso{"777", "777", "1554", "0", 0},
           Caso{"-5", "3", "-2", "-8", -1},
           Caso{"9223372036854775807", "1", "9223372036854775807", "9223372036854775806", 1},
           Caso{"-9223372036854775808", "1", "-9223372036854775807", "-9223372036854775808", -1},
       }) {
    SCOPED_TRACE(std::string(c.a) + " " + c.b);
    const Valor a = de(c.a);
    const Valor b = de(c.b);
    Valor r{};
    _8soma(r.data(), a.data(), b.data());
    EXPECT_EQ(texto(r), c.soma);
    _8subtrai(r.data(), a.data(), b.data());
    EXPECT_EQ(texto(r), c.diferenca);
    const int cmp = _8compara(a.data(), b.data());
    EXPECT_EQ(cmp > 0 ? 1 : (cmp < 0 ? -1 : 0), c.comparacao);
  }
}

TEST(Decimal8, SmallOperandsAndInPlaceResults) {
  // 10000 built as zero plus 100, times 100, then a value taken from it.
  Valor v{};
  _8byte_som_byte(v.data(), v.data(), 100);
  _8byte_mul_byte(v.data(), v.data(), 100);
  EXPECT_EQ(texto(v), "10000");
  const Valor pago = de("2575");
  _8subtrai(v.data(), v.data(), pago.data());
  EXPECT_EQ(texto(v), "7425");
  _8soma(v.data(), v.data(), v.data());
  EXPECT_EQ(texto(v), "14850");

  Valor grande = de("9223372036854775807");
  _8byte_mul_byte(grande.data(), grande.data(), 2);
  EXPECT_EQ(texto(grande), "9223372036854775807");
  _8byte_mul_byte(grande.data(), grande.data(), -2);
  EXPECT_EQ(texto(grande), "-9223372036854775808");
  _8byte_som_byte(grande.data(), grande.data(), -1);
  EXPECT_EQ(texto(grande), "-9223372036854775808");
}

}  // namespace
