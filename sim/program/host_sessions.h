// Follows the hosts that open and close the terminal: an open is a new
// connection for the device; a close ends the host's exclusive hold
// (TIOCEXCL), which on a real port goes with its last close but on a
// terminal the emulator holds open would outlive a host that was killed.
#pragma once

#include <string>

#include "program/unique_fd.h"

namespace ecfsim::program {

class HostSessions {
 public:
  // Watches `slave_path` from now on; `slave_fd` is the emulator's own hold
  // on it. On failure the watch is not open and error() says why.
  HostSessions(const std::string &slave_path, int slave_fd);

  bool is_open() const { return static_cast<bool>(fd_); }
  const std::string &error() const { return error_; }
  // Readable when a host opened or closed the terminal.
  int fd() const { return fd_.get(); }
  // Handles what happened since the last call; gives how many opens.
  int take();

 private:
  UniqueFd fd_;
  int slave_fd_;
  std::string error_;
};

}  // namespace ecfsim::program
