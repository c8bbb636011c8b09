// Counts the bytes that cross the serial line. ecfctl stands in front of the
// host kit's byte-level serial calls (the driver finds ecfctl's own first in
// the global scope) and forwards each to the host kit.
#pragma once

#include <cstdint>

namespace ecfctl {

// Resolves the host kit's calls; must run before the driver is used.
bool wire_count_attach(void *host_handle);

struct WireCount {
  uint64_t sent = 0;
  uint64_t received = 0;
};

WireCount wire_count();

}  // namespace ecfctl
