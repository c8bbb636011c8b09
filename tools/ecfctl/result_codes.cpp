#include "result_codes.h"

#include <array>
#include <cstdio>

namespace ecfctl {
namespace {

struct Named {
  int value;
  std::string_view name;
};

// ST2, the byte ECFBMTC_ultima_falha holds after a refusal no rule matched.
constexpr std::array kSt2Bits{
    Named{0x80, "invalid parameter"},
    Named{0x40, "fiscal memory full"},
    Named{0x20, "memory lost"},
    Named{0x10, "tax rate not programmed"},
    Named{0x08, "tax rate table full"},
    Named{0x04, "cancellation not allowed"},
    Named{0x02, "no taxpayer registered"},
    Named{0x01, "command not executed"},
};

// Execution statuses of the extended protocol, with a hint where one is plain.
constexpr std::array kExecStatuses{
    Named{8, "receipt closed"},
    Named{11, "out of paper"},
    Named{12, "print head lifted"},
    Named{13, "printer off line"},
    Named{23, "not totalled: run total"},
    Named{63, "blocked until a Reduction Z"},
    Named{66, "awaiting a Reduction Z"},
    Named{70, "zero non-fiscal amount"},
    Named{101, "no report open"},
    Named{156, "daylight saving changes only after a Reduction Z"},
    Named{169, "already totalled: pay or close"},
};

}  // namespace

std::string_view result_meaning(const Ops &ops, int code) {
  if (ops.texto_resultado == nullptr) return "unknown result";
  const char *text = ops.texto_resultado(code);
  return text != nullptr ? text : "unknown result";
}

std::string refusal_reason(int result, int st2, int exec_status) {
  std::string reason;
  if (result == 34) {
    char head[32];
    std::snprintf(head, sizeof head, "ST2 %02Xh (", st2 & 0xFF);
    reason = head;
    bool first = true;
    for (const Named &b : kSt2Bits) {
      if ((st2 & b.value) == 0) continue;
      reason += first ? "" : ", ";
      reason += b.name;
      first = false;
    }
    reason += ")";
  }
  if (exec_status != 0) {
    reason += reason.empty() ? "" : "; ";
    reason += "execution status " + std::to_string(exec_status);
    for (const Named &e : kExecStatuses) {
      if (e.value == exec_status) reason += " (" + std::string(e.name) + ")";
    }
  }
  return reason;
}

}  // namespace ecfctl
