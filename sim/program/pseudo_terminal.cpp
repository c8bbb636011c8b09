#include "program/pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>

#include <cerrno>
#include <cstring>

namespace ecfsim::program {

namespace {

bool make_raw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = UniqueFd(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!master_) {
    fail("posix_openpt");
    return;
  }
  if (grantpt(master_.get()) != 0 || unlockpt(master_.get()) != 0) {
    fail("grantpt/unlockpt");
    return;
  }
  char name[256] = {};
  if (ptsname_r(master_.get(), name, sizeof name) != 0) {
    fail("ptsname_r");
    return;
  }
  slave_path_ = name;
  slave_ = UniqueFd(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!slave_) {
    fail("open slave");
    return;
  }
  if (!make_raw(slave_.get()) || !make_raw(master_.get())) {
    fail("raw mode");
    return;
  }
  const int flags = fcntl(master_.get(), F_GETFL);
  if (flags < 0 || fcntl(master_.get(), F_SETFL, flags | O_NONBLOCK) != 0)
    fail("non-blocking master");
}

bool PseudoTerminal::fail(const char *what) {
  error_ = std::string(what) + ": " + std::strerror(errno);
  slave_.reset();
  master_.reset();
  return false;
}

}  // namespace ecfsim::program
