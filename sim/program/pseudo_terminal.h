// The pseudo-terminal the emulator serves: the master side is the printer's
// end of the cable, the slave side's path is what the host opens.
#pragma once

#include <string>

#include "program/unique_fd.h"

namespace ecfsim::program {

class PseudoTerminal {
 public:
  // Opens a new pair, both sides raw, the master non-blocking. On failure
  // the terminal is not open and error() says why.
  PseudoTerminal();

  bool is_open() const { return static_cast<bool>(master_); }
  const std::string &error() const { return error_; }
  int master_fd() const { return master_.get(); }
  int slave_fd() const { return slave_.get(); }
  const std::string &slave_path() const { return slave_path_; }

 private:
  bool fail(const char *what);

  UniqueFd master_;
  // Held open so that a host closing and reopening its side never leaves
  // the master without a peer (which would give EIO and hang-ups).
  UniqueFd slave_;
  std::string slave_path_;
  std::string error_;
};

}  // namespace ecfsim::program
