// The benchmark's own ioctl() stands in for the C library's in the host kit:
// modem-line requests are answered here (CTS active, no line errors), every
// other request goes to the kernel.
#include "modem_lines.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>

namespace {

std::atomic<long> queries{0};

}  // namespace

namespace bench {

long modem_queries() {
  return queries.load();
}

}  // namespace bench

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
  va_list args;
  va_start(args, request);
  void *arg = va_arg(args, void *);
  va_end(args);
  switch (request) {
    case TIOCMGET:
      ++queries;
      *static_cast<int *>(arg) = TIOCM_CTS | TIOCM_DSR | TIOCM_CAR | TIOCM_DTR | TIOCM_RTS;
      return 0;
    case TIOCGICOUNT:
      ++queries;
      *static_cast<serial_icounter_struct *>(arg) = serial_icounter_struct{};
      return 0;
    case TIOCMBIS:
    case TIOCMBIC:
    case TIOCMSET:
      return 0;
    default:
      return static_cast<int>(syscall(SYS_ioctl, fd, request, arg));
  }
}
