// Saving the driver's record at the end of each printer exchange, for calls
// that run long (the wait after a Reduction Z): a host stopped in the middle
// still finds on disk what the printer has already done.
#pragma once

#include <functional>

namespace ecfctl {

// While it lives, `save` runs after every exchange the driver closes with
// ECFIF_envelope_termina.
class SaveAfterEachExchange {
 public:
  explicit SaveAfterEachExchange(std::function<void()> save);
  ~SaveAfterEachExchange();
  SaveAfterEachExchange(const SaveAfterEachExchange &) = delete;
  SaveAfterEachExchange &operator=(const SaveAfterEachExchange &) = delete;
};

}  // namespace ecfctl
