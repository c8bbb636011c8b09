#include "record_sync.h"

#include <dlfcn.h>

#include <utility>

namespace {

using escalador_fn = void();
std::function<void()> g_save;

}  // namespace

// Seen by the driver ahead of the host kit's (exports.list); passes on to it.
extern "C" void ECFCOMUM_escalador(void) {
  static auto *real = reinterpret_cast<escalador_fn *>(dlsym(RTLD_NEXT, "ECFCOMUM_escalador"));
  if (g_save) g_save();
  if (real != nullptr) real();
}

namespace ecfctl {

SaveWhileWaiting::SaveWhileWaiting(std::function<void()> save) {
  g_save = std::move(save);
}

SaveWhileWaiting::~SaveWhileWaiting() {
  g_save = nullptr;
}

}  // namespace ecfctl
