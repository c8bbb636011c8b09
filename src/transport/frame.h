// Request frames: 02h, length, start byte, command, arguments, checksum.
#pragma once

#include <cstddef>

namespace ecf::transport {

inline constexpr unsigned char stx = 0x02;
inline constexpr unsigned char start_basic = 0x1B;
inline constexpr unsigned char start_extended = 0x1C;
inline constexpr int frame_overhead = 9;  // 02h, length, start, 2 command bytes, checksum

// Writes the frame into out (capacity bytes); returns its length, or -1 when
// it does not fit.
int build_frame(unsigned char *out, std::size_t capacity, int wire_code, const unsigned char *args,
                int len, bool extended);

}  // namespace ecf::transport
