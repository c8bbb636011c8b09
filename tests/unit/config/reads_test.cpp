// Configuration reads on the emulated printer with one command refused or answered oddly: each
// passes the failure on, or tells the model apart, as the answer says.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "driver_test.h"
#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "platform/platform.h"

namespace ecftest {
namespace {

struct Read {
  int model;
  int command;       // the command answered in the printer's place (-1: none)
  int variable;      // of command 35 (-1: any)
  int st1;           // refusal status (-1: accepted with `data`)
  const char *data;  // the answer's data, when accepted (nullptr: the printer's own)
  std::function<int()> call;
  int result;
};

unsigned char record[20];

class Reads : public PrinterTest, public ::testing::WithParamInterface<Read> {};

TEST_P(Reads, PassOnTheFailureOrTellTheModel) {
  const Read &q = GetParam();
  EmulatedPrinter &p = connect(q.model);
  p.hook = [&](int c, std::string_view a) -> std::optional<ecfsim::Reply> {
    if (c != q.command || (q.variable >= 0 && static_cast<unsigned char>(a[0]) != q.variable))
      return std::nullopt;
    if (q.st1 >= 0) return p.refusal(c, a, static_cast<std::uint8_t>(q.st1));
    ecfsim::Reply r = p.refusal(c, a, 0, 0);
    r.st2 = 0;
    if (q.data != nullptr) r.data = q.data;
    return r;
  };
  EXPECT_EQ(q.call(), q.result);
}

int identify() {  // afresh: version and model asked again
  ECFIF_versao_firmware = 0;
  return ECFIF_versao() * 100 + ECFBMTC_modelo_ecf;
}

INSTANTIATE_TEST_SUITE_P(
    Config, Reads,
    ::testing::Values(
        Read{12, 26, -1, 0, nullptr, [] { return ECFIF_le_tributacao(0, record); }, 34},
        Read{12, 35, 29, 0, nullptr, [] { return ECFIF_le_tributacao(0, record); }, 34},
        Read{12, 35, 50, 0, nullptr, [] { return ECFIF_le_cnf(0, record); }, 34},
        Read{12, -1, -1, 0, nullptr, [] { return ECFIF_le_cnf(30, record); }, 19},
        Read{1, -1, -1, 0, nullptr, [] { return ECFIF_le_cnf(50, nullptr); }, 2},
        Read{12, 35, 28, -1, "\xff", [] { return ECFIF_modo_multiplicacao(); }, 2},
        Read{12, 35, 28, -1, "\x07", [] { return ECFIF_modo_multiplicacao(); }, -1},
        Read{12, 35, 28, 0, nullptr, [] { return ECFIF_modo_multiplicacao(); }, -1},
        Read{2, 57, -1, 0x01, nullptr, identify, 3}, Read{2, 57, -1, 0x04, nullptr, identify, 1},
        Read{2, 57, -1, 0x20, nullptr, identify, 100}, Read{2, 57, -1, -1, "", identify, 3900},
        Read{12, 35, 60, -1, "MP-9999 TH FI                             ", identify, 3900},
        Read{12, -1, -1, 0, nullptr, [] { return ECFIF_max_itens_anteriores(); }, 300},
        Read{12, -1, -1, 0, nullptr, [] { return *ECFIF_versao_da_biblioteca() == 'E'; }, 1},
        Read{12, -1, -1, 0, nullptr,
             [] {
               return ECFBMTC_eh_versao_1_00() + 2 * ECFBMTC_eh_versao_1_01() +
                      4 * ECFBMTC_eh_versao_1_02();
             },
             2},
        Read{12, -1, -1, 0, nullptr,
             [] {
               fail_allocations_after(0);
               return ECFBMTC_le_arquivo_CFG(nullptr);
             },
             1}));

}  // namespace
}  // namespace ecftest
