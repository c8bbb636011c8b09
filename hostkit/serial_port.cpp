#include "serial_port.h"

#include "log_sink.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

namespace ecfhost {

namespace {

struct SpeedCode {
  long bps;
  speed_t code;
};

constexpr std::array<SpeedCode, 30> speeds{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

bool speed_code(long bps, speed_t &code) {
  const auto *it = std::find_if(speeds.begin(), speeds.end(),
                                [bps](const SpeedCode &s) { return s.bps == bps; });
  if (it == speeds.end()) return false;
  code = it->code;
  return true;
}

// The other side of a pseudo-terminal has what write() took: no transmitter
// drains it, so no wait is timed for one.
bool pseudo_terminal(const struct stat &st) {
  constexpr unsigned first_pty_major = 136, pty_majors = 8;  // Unix98 slaves
  return major(st.st_rdev) - first_pty_major < pty_majors;
}

// A line without modem-control support (a pseudo-terminal) answers so.
bool unsupported(int err) {
  return err == ENOTTY || err == EINVAL;
}

}  // namespace

int SerialPort::configure(const LineSettings &s) {
  speed_t code{};
  if (!speed_code(s.speed, code) || (s.stop_bits != 1 && s.stop_bits != 2) || s.parity < 0 ||
      s.parity > 2 || s.data_bits < 5 || s.data_bits > 8) {
    // Talking at some other speed would only garble: the port stays shut.
    log_line("serial: configuracao recusada (" + std::to_string(s.speed) + " bps, " +
             std::to_string(s.data_bits) + " bits, paridade " + std::to_string(s.parity) + ", " +
             std::to_string(s.stop_bits) + " stop)");
    settings_valid_ = false;
    close();
    return -1;
  }
  settings_ = s;
  settings_valid_ = true;
  return is_open() ? apply_settings() : 0;
}

int SerialPort::refuse(const std::string &device, const std::string &reason,
                       const std::string &log_text) {
  log_line("serial: " + device + ": " + log_text);
  failure_ = device + ": " + reason;
  return -1;
}

int SerialPort::refuse(const std::string &device, int err) {
  return refuse(device, std::strerror(err), std::strerror(err));
}

int SerialPort::refuse_busy(const std::string &device, pid_t holder) {
  if (holder <= 0) return refuse(device, "port in use", "porta em uso");
  const std::string pid = std::to_string(holder);
  return refuse(device, "port in use by PID " + pid, "porta em uso pelo PID " + pid);
}

int SerialPort::open(const std::string &device) {
  failure_.clear();
  if (!settings_valid_) {
    failure_ = device + ": line settings refused";  // configure() logged them
    return -1;
  }
  if (is_open()) return apply_settings();
  // Only a terminal is a port: a directory, a plain file or a FIFO is
  // refused without being opened; nothing is ever created at the path.
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return refuse(device, errno);
  if (S_ISDIR(st.st_mode)) return refuse(device, EISDIR);
  if (!S_ISCHR(st.st_mode)) return refuse(device, "not a terminal", "nao e um terminal");
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    // Another host holds it with TIOCEXCL; its lock file may name it.
    return err == EBUSY ? refuse_busy(device, lock_holder(device)) : refuse(device, err);
  }
  // Until the line is ours it is only closed again: a flush could cut
  // another host's frame.
  if (!isatty(fd)) {
    ::close(fd);
    return refuse(device, "not a terminal", "nao e um terminal");
  }
  if (lock_.take(device) == PortLock::Outcome::busy) {
    ::close(fd);
    return refuse_busy(device, lock_.holder());
  }
  if (::ioctl(fd, TIOCEXCL) != 0)
    log_line("serial: " + device + ": TIOCEXCL: " + std::strerror(errno));
  fd_ = fd;
  opened_by_ = ::getpid();
  no_transmitter_ = pseudo_terminal(st);
  no_modem_lines_ = false;
  hung_up_ = false;
  kernel_queued_ = 0;
  kernel_may_hold_ = input_since_write_ = input_ready_ = mid_frame_ = false;
  early_wakeups_ = 0;
  rx_head_ = rx_tail_ = 0;
  tx_head_ = tx_tail_ = 0;
  seen_ = {};
  read_counts(seen_);
  chunks_counted_ = chunks_read_;
  pending_errors_ = 0;
  cts_seen_ = true;
  if (apply_settings() == 0) return 0;
  failure_ = device + ": " + std::strerror(errno);
  return -1;
}

int SerialPort::apply_settings() {
  termios t{};
  if (tcgetattr(fd_, &t) != 0) return -1;
  cfmakeraw(&t);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
  t.c_cflag |= CLOCAL | CREAD;
  constexpr std::array<tcflag_t, 4> sizes{CS5, CS6, CS7, CS8};
  t.c_cflag |= sizes[static_cast<std::size_t>(settings_.data_bits - 5)];
  if (settings_.stop_bits == 2) t.c_cflag |= CSTOPB;
  if (settings_.parity != 0) {
    t.c_cflag |= PARENB;
    t.c_iflag |= INPCK;
    if (settings_.parity == 1) t.c_cflag |= PARODD;
  }
  if (settings_.hardware_flow || rts_mode_ != 0) t.c_cflag |= CRTSCTS;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  speed_t code{};
  speed_code(settings_.speed, code);
  if (cfsetispeed(&t, code) != 0 || cfsetospeed(&t, code) != 0) return -1;
  return tcsetattr(fd_, TCSANOW, &t) == 0 ? 0 : -1;
}

int SerialPort::reset() {
  if (!is_open()) return -1;
  tcflush(fd_, TCIOFLUSH);
  rx_head_ = rx_tail_ = 0;
  tx_head_ = tx_tail_ = 0;
  hung_up_ = false;
  kernel_queued_ = 0;
  kernel_may_hold_ = input_since_write_ = input_ready_ = mid_frame_ = false;
  early_wakeups_ = 0;
  read_counts(seen_);
  chunks_counted_ = chunks_read_;
  pending_errors_ = 0;
  return 0;
}

int SerialPort::set_modem_bit(int bit) {
  if (!is_open()) return -1;
  if (no_modem_lines_) return 0;
  if (ioctl(fd_, TIOCMBIS, &bit) == 0) return 0;
  if (unsupported(errno)) {
    no_modem_lines_ = true;
    return 0;
  }
  return -1;
}

int SerialPort::raise_dtr() {
  return set_modem_bit(TIOCM_DTR);
}

int SerialPort::set_rts_mode(int mode) {
  rts_mode_ = mode;
  return is_open() ? apply_settings() : 0;
}

int SerialPort::raise_rts() {
  return set_modem_bit(TIOCM_RTS);
}

int SerialPort::start_tx() {
  if (!is_open()) return -1;
  // Whatever an aborted exchange left unsent must not precede the next frame.
  tcflush(fd_, TCOFLUSH);
  tx_head_ = tx_tail_ = 0;
  kernel_queued_ = 0;
  kernel_may_hold_ = mid_frame_ = false;
  return 0;
}

int SerialPort::start_rx() {
  if (!is_open()) return -1;
  tcflush(fd_, TCIFLUSH);
  rx_head_ = rx_tail_ = 0;
  early_wakeups_ = 0;
  input_ready_ = false;
  return 0;
}

bool SerialPort::cts_active() {
  // A closed port reports "clear to send" so that the next transmit fails
  // at once instead of waiting out the flow-control deadline.
  if (!is_open() || no_modem_lines_) return true;
  int bits = 0;
  if (ioctl(fd_, TIOCMGET, &bits) != 0) {
    if (unsupported(errno)) no_modem_lines_ = true;
    cts_seen_ = true;
    return true;
  }
  cts_seen_ = (bits & TIOCM_CTS) != 0;
  return cts_seen_;
}

long SerialPort::flush_output() {
  // The caller's own CTS query stands for the bytes it handed over; the
  // line is asked again only while it last said "stop". On an adapter each
  // query is a round trip of its own.
  if (!is_open() || !has_output() || (!cts_seen_ && !cts_active())) return 0;
  const ssize_t n = ::write(fd_, tx_.data() + tx_head_, tx_tail_ - tx_head_);
  if (n > 0) {
    tx_head_ += static_cast<std::size_t>(n);
    kernel_may_hold_ = !no_transmitter_;
    input_since_write_ = false;
  } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
    // The line is gone: drop what waits so the drain ends; the answer
    // will then time out.
    tx_head_ = tx_tail_;
    hung_up_ = true;
  }
  if (tx_head_ == tx_tail_) tx_head_ = tx_tail_ = 0;
  return n > 0 ? static_cast<long>(n) : 0;
}

int SerialPort::transmit(unsigned char byte) {
  if (!is_open()) return -1;
  if (tx_tail_ == tx_.size()) {
    flush_output();
    if (tx_tail_ == tx_.size()) {
      if (tx_head_ == 0) return 1;
      // Move the unsent rest to the front to make room.
      std::copy(tx_.begin() + static_cast<std::ptrdiff_t>(tx_head_), tx_.end(), tx_.begin());
      tx_tail_ -= tx_head_;
      tx_head_ = 0;
    }
  }
  tx_[tx_tail_++] = byte;
  mid_frame_ = true;
  if (tx_tail_ - tx_head_ >= tx_flush_mark) flush_output();
  return 0;
}

int SerialPort::pending_tx() {
  if (!is_open()) return 0;
  const long just_written = flush_output();
  long waiting = static_cast<long>(tx_tail_ - tx_head_);
  // The kernel is asked only when it may still hold bytes: not in the
  // instant it took them, and not once an answer shows they have left.
  int queued = 0;
  if (hung_up_ || input_since_write_ || !kernel_may_hold_)
    queued = 0;
  else if (just_written > 0)
    queued = static_cast<int>(just_written);
  else if (ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued < 0)
    queued = 0;
  kernel_may_hold_ = queued > 0;
  kernel_queued_ = queued;
  waiting += queued;
  if (waiting == 0) mid_frame_ = false;
  return static_cast<int>(std::min(waiting, 1L << 30));
}

void SerialPort::fill_input() {
  rx_head_ = rx_tail_ = 0;
  // With VMIN = VTIME = 0 a read of an idle line returns 0: no data. A line
  // that is gone answers EIO (or another error) instead.
  const ssize_t n = ::read(fd_, rx_.data(), rx_.size());
  input_ready_ = false;
  if (n > 0) {
    rx_tail_ = static_cast<std::size_t>(n);
    hung_up_ = false;
    input_since_write_ = true;
    ++chunks_read_;
  } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
    hung_up_ = true;
  }
}

int SerialPort::receive() {
  if (!is_open()) return -1;
  // A request still in the user buffer must leave before its answer can come.
  if (has_output()) flush_output();
  if (!has_input()) fill_input();
  if (!has_input()) return -1;
  early_wakeups_ = 0;
  return rx_[rx_head_++];
}

long SerialPort::drain_time_us() const {
  const std::int64_t bits =
      1 + settings_.data_bits + (settings_.parity != 0 ? 1 : 0) + settings_.stop_bits;
  // In 64 bits: a full queue at 1 us per bit does not fit a 32-bit long.
  const std::int64_t us = kernel_queued_ * bits * 1000000 / std::max(settings_.speed, 1L);
  return static_cast<long>(std::min<std::int64_t>(us, 10000000));
}

bool SerialPort::read_counts(ErrorCounts &c) const {
  serial_icounter_struct ic{};
  if (no_modem_lines_ || ioctl(fd_, TIOCGICOUNT, &ic) != 0) return false;
  c.parity = ic.parity;
  c.overrun = static_cast<long>(ic.overrun) + ic.buf_overrun;
  c.framing = ic.frame;
  return true;
}

int SerialPort::line_errors(bool clear) {
  if (!is_open()) return 0;
  // Errors arrive with bytes: the counters are read again only after a
  // read() brought some.
  if (chunks_read_ == chunks_counted_) return pending_errors_;
  ErrorCounts now{};
  if (!read_counts(now)) return 0;
  if (clear) chunks_counted_ = chunks_read_;
  int bits = 0;
  if (now.parity != seen_.parity) bits |= 1;
  if (now.overrun != seen_.overrun) bits |= 2;
  if (now.framing != seen_.framing) bits |= 4;
  if (clear) seen_ = now;
  pending_errors_ = clear ? 0 : bits;
  return bits;
}

int SerialPort::close() {
  if (!is_open()) return 0;
  if (watched_port() == this) watch_port(nullptr);
  // A forked child that exits leaves its parent's line as it is.
  if (::getpid() == opened_by_) {
    flush_output();
    // Discarding first keeps close() from waiting for a stalled transmitter.
    tcflush(fd_, TCIOFLUSH);
    // Others may still hold the line open: the next host must get in.
    ::ioctl(fd_, TIOCNXCL);
  }
  const int r = ::close(fd_);
  fd_ = -1;
  lock_.release();
  rx_head_ = rx_tail_ = 0;
  tx_head_ = tx_tail_ = 0;
  mid_frame_ = false;
  return r == 0 ? 0 : -1;
}

namespace {

std::array<SerialPort, max_ports> ports;
SerialPort *watched = nullptr;

// A wait on the line ends when input arrives, else after this bound or
// just past the next whole second, where the driver's deadlines fall.
constexpr long idle_wait_us = 100000;
constexpr long second_margin_us = 1000;
// The driver's millisecond delays see the clock after each common yield
// that follows another.
constexpr long short_wait_us = 2000;
// While the printer holds CTS the driver asks the line again each pass.
constexpr long cts_wait_us = 5000;
constexpr long min_wait_us = 100;
constexpr int max_early_wakeups = 3;
// The last yield was the serial one: its wait covers the pass.
bool after_serial_yield = false;

timespec micros(long us) {
  return timespec{us / 1000000, (us % 1000000) * 1000};
}

void rest(long us) {
  const timespec t = micros(us);
  nanosleep(&t, nullptr);
}

long until_next_second_us() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return (1000000000L - now.tv_nsec) / 1000 + second_margin_us;
}

// Blocks on the watched line for at most `bound_us`; returns at once when
// input waits. A line that is gone, or input nobody takes, only rests.
void wait_on_line(long bound_us) {
  SerialPort *p = watched;
  if (p == nullptr || !p->is_open() || p->hung_up() || p->early_wakeups() >= max_early_wakeups) {
    rest(bound_us);
    return;
  }
  if (p->has_input() || p->input_ready()) {
    p->note_early_wakeup();
    return;
  }
  p->flush_output();
  // While the transmitter drains, wake when it should be empty.
  if (p->kernel_output_waiting())
    bound_us = std::min(bound_us, std::max(p->drain_time_us(), min_wait_us));
  pollfd pfd{p->descriptor(), POLLIN, 0};
  const timespec t = micros(bound_us);
  const int r = ppoll(&pfd, 1, &t, nullptr);
  if (r > 0 && (pfd.revents & POLLIN) != 0) {
    p->note_input();
    p->note_early_wakeup();
    return;
  }
  // POLLHUP or POLLERR without data would wake poll at once: rest instead.
  if (r > 0) rest(bound_us);
}

}  // namespace

SerialPort *port_number(int porta) {
  return (porta >= 1 && porta <= max_ports) ? &ports[static_cast<std::size_t>(porta - 1)] : nullptr;
}

std::string device_for(int porta) {
  const char *nome = std::getenv("ECF_SERIAL_DEVICE");
  if (nome != nullptr && *nome != '\0') return nome;
  return "/dev/ttyS" + std::to_string(porta - 1);
}

SerialPort *watched_port() {
  return watched;
}

void watch_port(SerialPort *p) {
  watched = p;
}

void serial_yield() {
  after_serial_yield = true;
  SerialPort *p = watched;
  const long bound = p != nullptr && !p->last_cts() ? cts_wait_us : idle_wait_us;
  wait_on_line(std::min(bound, until_next_second_us()));
}

void common_yield() {
  if (after_serial_yield) {
    after_serial_yield = false;
    return;
  }
  wait_on_line(short_wait_us);
}

}  // namespace ecfhost
