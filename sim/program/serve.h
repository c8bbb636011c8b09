// The program's main loop: bytes between the pseudo-terminal and the device,
// on the device's own timing.
#pragma once

#include <signal.h>

#include <cstdint>
#include <string>

#include "program/host_sessions.h"
#include "wire/device.h"

namespace ecfsim::program {

int64_t monotonic_us();

// Serves until `stop` is set by a signal. Signals are taken only while
// waiting, with `wait_mask` in force. Each open seen by `hosts` (when not
// null) is a connect for the device. False on a terminal error (in `error`).
bool serve(int master_fd, Device &device, const volatile sig_atomic_t &stop,
           const sigset_t &wait_mask, std::string &error, HostSessions *hosts = nullptr);

}  // namespace ecfsim::program
