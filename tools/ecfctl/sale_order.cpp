// The order of a sale's operations in a script: items before the total, the
// total before payments, a payment before the close. A script may start or
// end mid-receipt (it goes on from an earlier one), so nothing is required
// before the first open, close or cancel.
#include <optional>
#include <string>
#include <vector>

#include "script.h"

namespace ecfctl {
namespace {

enum class Phase { Unknown, Closed, Items, Totalled, Paid };

std::optional<std::string> order_fault(Phase p, StepKind k) {
  switch (k) {
    case StepKind::Open:
      if (p == Phase::Items || p == Phase::Totalled || p == Phase::Paid)
        return "open while a receipt is open (close or cancel it first)";
      break;
    case StepKind::Line:
    case StepKind::Item:
    case StepKind::Discount:
    case StepKind::Surcharge:
    case StepKind::ItemDiscount:
    case StepKind::ItemSurcharge:
    case StepKind::CancelItem:
      if (p == Phase::Closed) return "no receipt open (run open first)";
      if (p == Phase::Totalled || p == Phase::Paid) return "after the total (items come before it)";
      break;
    case StepKind::Total:
      if (p == Phase::Closed) return "no receipt open (run open first)";
      if (p == Phase::Paid) return "after a payment (total comes before the payments)";
      break;
    case StepKind::Pay:
      if (p == Phase::Closed) return "no receipt open (run open first)";
      if (p == Phase::Items) return "before the total (run total first)";
      break;
    case StepKind::Close:
      if (p == Phase::Closed) return "no receipt open (run open first)";
      if (p == Phase::Items) return "before the total (run total first)";
      if (p == Phase::Totalled) return "before any payment (run pay first)";
      break;
    default:
      break;
  }
  return std::nullopt;
}

Phase next_phase(Phase p, StepKind k) {
  switch (k) {
    case StepKind::Open:
      return Phase::Items;
    case StepKind::Item:
      return p == Phase::Unknown ? Phase::Items : p;
    case StepKind::Total:
      return Phase::Totalled;
    case StepKind::Pay:
      return Phase::Paid;
    case StepKind::Close:
    case StepKind::Cancel:
      return Phase::Closed;
    default:
      return p;
  }
}

}  // namespace

std::optional<ParseError> check_sale_order(const std::vector<Step> &steps) {
  Phase p = Phase::Unknown;
  for (const auto &st : steps) {
    if (auto fault = order_fault(p, st.kind))
      return ParseError{st.line_no, st.source + ": " + *fault};
    p = next_phase(p, st.kind);
  }
  return std::nullopt;
}

}  // namespace ecfctl
