// Whole numbers as the command line gives them.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

namespace ecfsim::program {

// The longest time any option takes: a day.
inline constexpr uint32_t kMaxMilliseconds = 24u * 3600u * 1000u;

// Decimal digits only, at most `max`.
inline bool parse_uint(std::string_view text, uint32_t max, uint32_t &out) {
  uint32_t value = 0;
  const char *end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value > max) return false;
  out = value;
  return true;
}

}  // namespace ecfsim::program
