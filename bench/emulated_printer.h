// The emulator's printer and serial side served on a pseudo-terminal from a
// thread of the benchmark, through the emulator program's own loop.
#pragma once

#include <pthread.h>

#include <cstdint>
#include <string>
#include <thread>

#include "core/printer.h"
#include "wire/device.h"

namespace bench {

class EmulatedPrinter {
 public:
  // `delay_ms`: the time the printer takes over each command. `baud`: 0
  // answers at once, else both directions are paced at that speed.
  EmulatedPrinter(uint32_t delay_ms, uint32_t baud);
  ~EmulatedPrinter();
  EmulatedPrinter(const EmulatedPrinter &) = delete;
  EmulatedPrinter &operator=(const EmulatedPrinter &) = delete;

  bool ok() const { return slave_ >= 0; }
  // The terminal the driver opens by name.
  const std::string &device() const { return name_; }
  // A descriptor of the same terminal for bare round trips.
  int slave() const { return slave_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string name_;
  ecfsim::Printer printer_;
  ecfsim::Device device_;
  std::thread thread_;
  pthread_t handle_{};
};

}  // namespace bench
