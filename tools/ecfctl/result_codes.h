// Meanings of the driver's result codes, for messages.
#pragma once

#include <string_view>

namespace ecfctl {

// A short English meaning of a driver result code; "unknown result" when the
// code is not one the driver produces.
std::string_view result_meaning(int code);

}  // namespace ecfctl
