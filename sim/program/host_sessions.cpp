#include "program/host_sessions.h"

#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <cstring>

namespace ecfsim::program {

HostSessions::HostSessions(const std::string &slave_path, int slave_fd)
    : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), slave_fd_(slave_fd) {
  if (fd_ && ::inotify_add_watch(fd_.get(), slave_path.c_str(), IN_OPEN | IN_CLOSE) >= 0) return;
  error_ = "cannot watch " + slave_path + ": " + std::strerror(errno);
  fd_.reset();
}

int HostSessions::take() {
  if (!fd_) return 0;
  int opens = 0;
  bool closed = false;
  alignas(inotify_event) char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd_.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
      inotify_event event;
      std::memcpy(&event, buf + at, sizeof event);
      opens += (event.mask & IN_OPEN) != 0;
      closed = closed || (event.mask & IN_CLOSE) != 0;
      at += static_cast<ssize_t>(sizeof event + event.len);
    }
  }
  if (closed) ::ioctl(slave_fd_, TIOCNXCL);
  return opens;
}

}  // namespace ecfsim::program
