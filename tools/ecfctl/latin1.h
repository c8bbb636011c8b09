// Text between the user's UTF-8 and the driver's Latin-1: the driver's
// interface takes and gives one byte a character, as point-of-sale hosts do.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ecfctl {

// The Latin-1 form of `utf8`, or nothing with `error` naming the first
// character Latin-1 cannot hold ("'€' (U+20AC) has no Latin-1 form") or the
// first byte that is not UTF-8.
std::optional<std::string> to_latin1(std::string_view utf8, std::string &error);

// Latin-1 text (from the driver or the printer) as UTF-8, for the terminal.
std::string to_utf8(std::string_view latin1);

// Converts args[from..] in place; on the first failure prints
// "LABEL: error" and returns false.
bool args_to_latin1(std::vector<std::string> &args, size_t from, std::string_view label);

}  // namespace ecfctl
