// A whole sale with one fault at every command boundary in turn: the printer
// refuses the command, or the till dies before it (the line goes dead, the
// host restarts the driver from the saved record), or the printer carries it
// out and its answer is lost. The host retries the step that failed (or asks
// the driver's repeat) and finishes; each item, payment and the receipt are
// printed once, the record's payments match the printer's, and a failed step
// leaves the repeat code that names it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "emulated_printer.h"
#include "platform/decimal8.h"
#include "sale/sale_steps.h"

namespace ecftest {
namespace {

enum class Fault { refusal, crash, lost_then_call, lost_then_repeat };

struct SaleRun {
  std::unique_ptr<EmulatedPrinter> printer = std::make_unique<EmulatedPrinter>();
  std::string failures;
};

// Runs the sale; the fault strikes the command numbered `at` (from 0).
SaleRun sale_with(Fault fault, bool extended, int at) {
  fresh_driver(extended);
  SaleRun run;
  int seen = 0;
  bool struck = false;
  const auto arm = [&](EmulatedPrinter &p) {
    p.hook = [&, &p = p](int c, std::string_view a) -> std::optional<ecfsim::Reply> {
      if (seen++ != at || struck) return std::nullopt;
      struck = true;
      if (fault == Fault::lost_then_call || fault == Fault::lost_then_repeat) {
        p.device.faults().drop_next = 1;  // executed, never answered
        return std::nullopt;
      }
      if (fault == Fault::crash) p.cut = true;
      return p.refusal(c, a);  // not executed
    };
  };
  arm(*run.printer);
  for (const auto &step : whole_sale()) {
    int result = step.call();
    if (result != 0 && step.repeat != 0 && ECFBMTCAUX_o_que_repetir != step.repeat &&
        fault != Fault::lost_then_repeat)
      run.failures +=
          std::string(step.name) + " repeat " + std::to_string(ECFBMTCAUX_o_que_repetir) + "; ";
    for (int retry = 0; result != 0 && retry < 2; ++retry) {
      if (run.printer->cut) {
        std::vector<unsigned char> saved(BMTCLOCAL_d, BMTCLOCAL_d + sizeof BMTCLOCAL_d);
        fresh_driver(extended, saved.data());
        run.printer->mend();
        if (step.name != "identify" && ECFIF_pega_configuracao() != 0)
          run.failures += "identify after restart; ";
      }
      result = fault == Fault::lost_then_repeat ? ECFIF_repete() : step.call();
    }
    if (result != 0)
      run.failures += std::string(step.name) + " -> " + std::to_string(result) + "; ";
  }
  return run;
}

std::vector<int> commands_of_a_clean_sale(bool extended) {
  return sale_with(Fault::refusal, extended, -1).printer->commands;
}

const char *fault_name(Fault f) {
  constexpr const char *names[] = {"Refusal", "Crash", "LostThenCall", "LostThenRepeat"};
  return names[static_cast<int>(f)];
}

class FaultSweep : public ::testing::TestWithParam<std::tuple<Fault, bool>> {};

TEST_P(FaultSweep, EveryItemAndTheReceiptArePrintedOnce) {
  const auto [fault, extended] = GetParam();
  const std::vector<int> commands = commands_of_a_clean_sale(extended);
  ASSERT_GT(commands.size(), 14u);
  for (int at = 0; at < static_cast<int>(commands.size()); ++at) {
    SCOPED_TRACE("fault at command number " + std::to_string(at) + ", command " +
                 std::to_string(commands[static_cast<std::size_t>(at)]));
    SaleRun run = sale_with(fault, extended, at);
    const EmulatedPrinter &p = *run.printer;
    EXPECT_EQ(run.failures, "");
    for (const char *text :
         {"CUPOM FISCAL", "Cafe torrado", "Acucar cristal", "Feijao", "Lote 42", "Dinheiro",
          "Cartao Credito", "Obrigado pela preferencia", "Volte sempre"})
      EXPECT_EQ(p.printed(text), 1) << text;
    EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], 0);
    unsigned char paid[8];
    _ato8(paid, "2750");
    EXPECT_EQ(_8compara(BMTCLOCAL_d + BMTCLOCAL_D_TOTAL_PAGO, paid), 0);
    // A till dead between the card payment and its receipt number cannot
    // keep the payment for a linked receipt.
    if (fault != Fault::crash) {
      EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_QTD_PAGTOS_VINCULAVEIS], 1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultSweep,
                         ::testing::Combine(::testing::Values(Fault::refusal, Fault::crash,
                                                              Fault::lost_then_call,
                                                              Fault::lost_then_repeat),
                                            ::testing::Bool()),
                         [](const auto &info) {
                           return std::string(fault_name(std::get<0>(info.param))) +
                                  (std::get<1>(info.param) ? "Extended" : "Basic");
                         });

// The till dies after the printer took the card payment, before its answer:
// restarted from the saved record, the host pays again and the printer's
// paid sum shows the payment was taken.
TEST(LostAnswer, PaymentRepeatedAfterARestartIsTakenOnce) {
  fresh_driver(false);
  EmulatedPrinter p;
  p.hook = [&p](int c, std::string_view) -> std::optional<ecfsim::Reply> {
    if (c == 72 && p.printed("Dinheiro") == 1) {
      p.device.faults().drop_next = 1;
      p.cut = true;
    }
    return std::nullopt;
  };
  for (const auto &step : whole_sale()) {
    int result = step.call();
    if (result != 0 && step.name == "card") {
      std::vector<unsigned char> saved(BMTCLOCAL_d, BMTCLOCAL_d + sizeof BMTCLOCAL_d);
      fresh_driver(false, saved.data());
      p.hook = nullptr;
      p.mend();
      ASSERT_EQ(ECFIF_pega_configuracao(), 0);
      result = step.call();
    }
    ASSERT_EQ(result, 0) << step.name;
  }
  EXPECT_EQ(p.printed("Cartao Credito"), 1);
  unsigned char paid[8];
  _ato8(paid, "2750");
  EXPECT_EQ(_8compara(BMTCLOCAL_d + BMTCLOCAL_D_TOTAL_PAGO, paid), 0);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_QTD_PAGTOS_VINCULAVEIS], 1);
}

}  // namespace
}  // namespace ecftest
