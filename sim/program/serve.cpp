#include "program/serve.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace ecfsim::program {

namespace {

constexpr size_t kChunk = 4096;

timespec to_timespec(int64_t us) {
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(us / 1000000);
  ts.tv_nsec = static_cast<long>((us % 1000000) * 1000);
  return ts;
}

class Loop {
 public:
  Loop(int fd, Device &device) : fd_(fd), device_(device) { out_.reserve(kChunk); }

  // Moves the bytes due by now towards the host; false on a terminal error.
  bool flush(int64_t now, std::string &error) {
    while (out_.size() < kChunk) {
      const int b = device_.to_host_us(now);
      if (b < 0) break;
      out_.push_back(static_cast<char>(b));
    }
    if (out_.empty()) return true;
    const ssize_t n = ::write(fd_, out_.data(), out_.size());
    if (n > 0) {
      out_.erase(0, static_cast<size_t>(n));
      return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    error = std::string("write to terminal: ") + std::strerror(errno);
    return false;
  }

  bool receive(std::string &error) {
    char buf[kChunk];
    const ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (n <= 0) {
      error = std::string("read from terminal: ") + (n == 0 ? "end of file" : std::strerror(errno));
      return false;
    }
    const int64_t now = monotonic_us();
    for (ssize_t i = 0; i < n; ++i) device_.from_host_us(static_cast<uint8_t>(buf[i]), now);
    return true;
  }

  // How long to wait, in microseconds: until the next paced byte, at once when bytes are
  // due already, or without end when nothing is queued.
  int64_t wait_us(int64_t now) const {
    if (!out_.empty()) return -1;  // POLLOUT wakes us
    const int64_t next = device_.next_byte_us();
    if (next < 0) return -1;
    return next > now ? next - now : 0;
  }

  bool blocked_on_write() const { return !out_.empty(); }

 private:
  int fd_;
  Device &device_;
  std::string out_;
};

}  // namespace

int64_t monotonic_us() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

bool serve(int master_fd, Device &device, const volatile sig_atomic_t &stop,
           const sigset_t &wait_mask, std::string &error, HostSessions *hosts) {
  Loop loop(master_fd, device);
  while (!stop) {
    if (!loop.flush(monotonic_us(), error)) return false;

    pollfd pfd[2] = {
        {master_fd, static_cast<short>(POLLIN | (loop.blocked_on_write() ? POLLOUT : 0)), 0},
        {hosts != nullptr ? hosts->fd() : -1, POLLIN, 0}};
    const int64_t wait = loop.wait_us(monotonic_us());
    const timespec ts = to_timespec(wait < 0 ? 0 : wait);
    const int r = ::ppoll(pfd, 2, wait < 0 ? nullptr : &ts, &wait_mask);
    if (r < 0) {
      if (errno == EINTR) continue;
      error = std::string("poll: ") + std::strerror(errno);
      return false;
    }
    // An open comes before anything the host wrote after it.
    if (r > 0 && (pfd[1].revents & POLLIN)) {
      const int64_t now = monotonic_us();
      for (int n = hosts->take(); n > 0; --n) device.connect_us(now);
    }
    if (r > 0 && (pfd[0].revents & POLLIN) && !loop.receive(error)) return false;
    if (r > 0 && (pfd[0].revents & (POLLERR | POLLNVAL))) {
      error = "terminal error";
      return false;
    }
  }
  return true;
}

}  // namespace ecfsim::program
