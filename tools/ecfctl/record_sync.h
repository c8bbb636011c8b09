// Saving the driver's record while a call waits (the wait after a Reduction
// Z may last two hours): a host stopped in the middle still finds on disk
// what the printer has already done.
#pragma once

#include <functional>

namespace ecfctl {

// While it lives, `save` runs each time the driver yields to the host's
// scheduler (ECFCOMUM_escalador) during its pauses.
class SaveWhileWaiting {
 public:
  explicit SaveWhileWaiting(std::function<void()> save);
  ~SaveWhileWaiting();
  SaveWhileWaiting(const SaveWhileWaiting &) = delete;
  SaveWhileWaiting &operator=(const SaveWhileWaiting &) = delete;
};

}  // namespace ecfctl
