// Meanings of the driver's result codes, for messages.
#pragma once

#include <string>
#include <string_view>

#include "driver.h"

namespace ecfctl {

// The driver's own meaning of a result code (ECFBMTCAUX_texto_resultado);
// "unknown result" from a driver without it.
std::string_view result_meaning(const Ops &ops, int code);

// The printer's reason for a refusal, by name: the ST2 bits when no rule
// matched (result 34) and the extended protocol's execution status. Empty
// when there is nothing to tell.
std::string refusal_reason(int result, int st2, int exec_status);

}  // namespace ecfctl
