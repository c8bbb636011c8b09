// A whole sale with one fault at every command boundary in turn: the printer
// refuses the command, or the till dies before it (the line goes dead, the
// host restarts the driver from the saved record). The host retries the step
// that failed and finishes; each item and the receipt are printed once, and a
// failed step leaves the repeat code that names it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "emulated_printer.h"
#include "sale/sale_steps.h"

namespace ecftest {
namespace {

enum class Fault { refusal, crash };

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
      if (fault == Fault::crash) p.cut = true;
      return p.refusal(c, a);  // not executed
    };
  };
  arm(*run.printer);
  for (const auto &step : whole_sale()) {
    int result = step.call();
    if (result != 0 && step.repeat != 0 && ECFBMTCAUX_o_que_repetir != step.repeat)
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
      result = step.call();
    }
    if (result != 0)
      run.failures += std::string(step.name) + " -> " + std::to_string(result) + "; ";
  }
  return run;
}

int commands_of_a_clean_sale(bool extended) {
  return static_cast<int>(sale_with(Fault::refusal, extended, -1).printer->commands.size());
}

class FaultSweep : public ::testing::TestWithParam<std::tuple<Fault, bool>> {};

TEST_P(FaultSweep, EveryItemAndTheReceiptArePrintedOnce) {
  const auto [fault, extended] = GetParam();
  const int commands = commands_of_a_clean_sale(extended);
  ASSERT_GT(commands, 14);
  for (int at = 0; at < commands; ++at) {
    SCOPED_TRACE("fault at command " + std::to_string(at));
    SaleRun run = sale_with(fault, extended, at);
    const EmulatedPrinter &p = *run.printer;
    EXPECT_EQ(run.failures, "");
    for (const char *text : {"Cafe torrado", "Acucar cristal", "Feijao", "Lote 42",
                             "Obrigado pela preferencia", "Volte sempre"})
      EXPECT_EQ(p.printed(text), 1) << text;
    EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultSweep,
                         ::testing::Combine(::testing::Values(Fault::refusal, Fault::crash),
                                            ::testing::Bool()),
                         [](const auto &info) {
                           return std::string(std::get<0>(info.param) == Fault::crash ? "Crash"
                                                                                      : "Refusal") +
                                  (std::get<1>(info.param) ? "Extended" : "Basic");
                         });

}  // namespace
}  // namespace ecftest
