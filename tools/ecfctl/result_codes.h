// Meanings of the driver's result codes, for messages.
#pragma once

#include <string_view>

#include "driver.h"

namespace ecfctl {

// The driver's own meaning of a result code (ECFBMTCAUX_texto_resultado);
// "unknown result" from a driver without it.
std::string_view result_meaning(const Ops &ops, int code);

}  // namespace ecfctl
