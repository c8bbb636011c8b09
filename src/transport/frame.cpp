#include "transport/frame.h"

namespace ecf::transport {

int build_frame(unsigned char *out, std::size_t capacity, int wire_code, const unsigned char *args,
                int len, bool extended) {
  if (out == nullptr || wire_code < 0 || len < 0 || (len > 0 && args == nullptr)) return -1;
  const int command_bytes = wire_code > 255 ? 2 : 1;
  const int total = 3 + 1 + command_bytes + len + 2;
  if (total > 0xFFFF + 3 || static_cast<std::size_t>(total) > capacity) return -1;

  int pos = 0;
  out[pos++] = stx;
  const int body = total - 3;
  out[pos++] = static_cast<unsigned char>(body & 0xFF);
  out[pos++] = static_cast<unsigned char>(body >> 8);
  out[pos++] = extended ? start_extended : start_basic;
  if (command_bytes == 2) out[pos++] = static_cast<unsigned char>((wire_code >> 8) & 0xFF);
  out[pos++] = static_cast<unsigned char>(wire_code & 0xFF);
  for (int i = 0; i < len; ++i) out[pos++] = args[i];

  unsigned sum = 0;
  for (int i = 3; i < pos; ++i) sum += out[i];
  sum &= 0xFFFF;
  out[pos++] = static_cast<unsigned char>(sum & 0xFF);
  out[pos++] = static_cast<unsigned char>(sum >> 8);
  return pos;
}

}  // namespace ecf::transport
