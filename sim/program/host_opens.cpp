#include "program/host_opens.h"

#include <sys/inotify.h>

#include <cerrno>
#include <cstring>

namespace ecfsim::program {

HostOpens::HostOpens(const std::string &slave_path)
    : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (fd_ && ::inotify_add_watch(fd_.get(), slave_path.c_str(), IN_OPEN) >= 0) return;
  error_ = "cannot watch " + slave_path + " for opens: " + std::strerror(errno);
  fd_.reset();
}

int HostOpens::take() {
  if (!fd_) return 0;
  int opens = 0;
  alignas(inotify_event) char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd_.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return opens;
    for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
      inotify_event event;
      std::memcpy(&event, buf + at, sizeof event);
      opens += (event.mask & IN_OPEN) != 0;
      at += static_cast<ssize_t>(sizeof event + event.len);
    }
  }
}

}  // namespace ecfsim::program
