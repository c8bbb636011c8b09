// Receipt commands outside a sale: the tax table items refer to, and the
// cancellation of the last finished receipt.
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "registry.h"
#include "session.h"

namespace ecfctl {

int read_rates(Session &s, std::vector<TaxEntry> &rates) {
  const Ops &o = s.ops();
  if (o.le_tributacao == nullptr) return kMissingOperation;
  constexpr int kNotProgrammed = 99;
  for (int i = 0; i < 22; ++i) {
    TaxEntry e{};
    const int r = s.call([&] { return o.le_tributacao(i, e.data()); });
    if (r == 19) break;  // past the table of this generation
    if (r != 0) return r;
    if (e[0] != kNotProgrammed) rates.push_back(e);
  }
  return 0;
}

namespace {

// What a tax entry's type byte stands for.
std::string_view tax_kind(int type) {
  switch (type) {
    case 0:
      return "ICMS rate";
    case 20:
      return "ISS rate";
    case 4:
    case 24:
      return "tax substitution";
    case 5:
    case 25:
      return "exempt";
    case 6:
    case 26:
      return "not taxed";
    default:
      return "unknown";
  }
}

// The printer's tax table: the code an item gives, its kind and its rate.
int cmd_rates(Session &s, const std::vector<std::string> &) {
  if (s.ops().le_tributacao == nullptr) return report(s, "rates", kMissingOperation);
  if (int r = s.ensure_configured(); r != 0) return report(s, "rates", r);
  std::vector<TaxEntry> rates;
  if (int r = read_rates(s, rates); r != 0) return report(s, "rates", r);
  for (const auto &e : rates) {
    const std::string_view kind = tax_kind(e[0]);
    std::printf("%c%c  %.*s %c%c.%c%c%%\n", e[1], e[2], static_cast<int>(kind.size()), kind.data(),
                e[4], e[5], e[7], e[8]);
  }
  return kExitOk;
}

// Cancels the last finished receipt, naming it by its COO.
int cmd_cancel_last(Session &s, const std::vector<std::string> &) {
  const Ops &o = s.ops();
  if (o.canc_anterior == nullptr || o.le_estado_do_ecf == nullptr)
    return report(s, "cancel-last", kMissingOperation);
  unsigned char state = 0;
  if (int r = s.call([&] { return o.le_estado_do_ecf(&state); }); r != 0)
    return report(s, "cancel-last", r);
  if (fiscal_receipt_open(state)) {
    std::fprintf(stderr, "cancel-last: a receipt is open (cancel cancels it)\n");
    return kExitRefused;
  }
  const std::string coo = read_coo(s);
  const int r = s.call([&] { return o.canc_anterior(); });
  if (r == 0 && !s.options().quiet)
    std::printf("cancel-last: receipt COO %s cancelled\n", coo.empty() ? "?" : coo.c_str());
  return r == 0 ? kExitOk : report(s, "cancel-last", r);
}

const Registrar kReceiptCommands{{
    {"rates", "rates                 the printer's tax rates (the TAX codes items take)",
     cmd_rates},
    {"cancel-last", "cancel-last           cancel the last finished receipt, naming its COO",
     cmd_cancel_last},
}};

}  // namespace
}  // namespace ecfctl
