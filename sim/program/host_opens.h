// Tells when a host opens the terminal, so the device can play what a
// printer sends on a fresh connection.
#pragma once

#include <string>

#include "program/unique_fd.h"

namespace ecfsim::program {

class HostOpens {
 public:
  // Watches opens of `slave_path` from now on. On failure the watch is not
  // open and error() says why.
  explicit HostOpens(const std::string &slave_path);

  bool is_open() const { return static_cast<bool>(fd_); }
  const std::string &error() const { return error_; }
  // Readable when an open happened.
  int fd() const { return fd_.get(); }
  // How many opens happened since the last call.
  int take();

 private:
  UniqueFd fd_;
  std::string error_;
};

}  // namespace ecfsim::program
