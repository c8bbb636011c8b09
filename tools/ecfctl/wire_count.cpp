#include "wire_count.h"

#include <dlfcn.h>
#include <atomic>

namespace {

using transm_fn = int(int, int);
using le_rx_fn = int(int);

transm_fn *real_transm = nullptr;
le_rx_fn *real_le_rx = nullptr;
std::atomic<uint64_t> bytes_sent{0};
std::atomic<uint64_t> bytes_received{0};

}  // namespace

extern "C" int nSERIALtransm(int porta, int byte) {
  if (real_transm == nullptr) return 2;
  int r = real_transm(porta, byte);
  if (r == 0) bytes_sent.fetch_add(1, std::memory_order_relaxed);
  return r;
}

extern "C" int nSERIALleRX(int porta) {
  if (real_le_rx == nullptr) return -1;
  int v = real_le_rx(porta);
  if (v >= 0) bytes_received.fetch_add(1, std::memory_order_relaxed);
  return v;
}

namespace ecfctl {

bool wire_count_attach(void *host_handle) {
  real_transm = reinterpret_cast<transm_fn *>(dlsym(host_handle, "nSERIALtransm"));
  real_le_rx = reinterpret_cast<le_rx_fn *>(dlsym(host_handle, "nSERIALleRX"));
  return real_transm != nullptr && real_le_rx != nullptr;
}

WireCount wire_count() {
  return {bytes_sent.load(std::memory_order_relaxed),
          bytes_received.load(std::memory_order_relaxed)};
}

}  // namespace ecfctl
