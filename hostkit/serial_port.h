// One serial line over termios, with small user-space buffers so that the
// driver's byte-at-a-time calls cost few system calls.
#ifndef ECFHOST_SERIAL_PORT_H
#define ECFHOST_SERIAL_PORT_H

#include "port_lock.h"

#include <sys/types.h>

#include <array>
#include <cstddef>
#include <string>

namespace ecfhost {

struct LineSettings {
  long speed = 9600;
  int stop_bits = 1;
  int parity = 0;  // 0 none, 1 odd, 2 even
  int data_bits = 8;
  bool hardware_flow = false;
};

struct ErrorCounts {
  long parity = 0;
  long overrun = 0;
  long framing = 0;
};

class SerialPort {
 public:
  static constexpr std::size_t rx_capacity = 512;
  static constexpr std::size_t tx_capacity = 4096;
  static constexpr std::size_t tx_flush_mark = 256;

  SerialPort() = default;
  SerialPort(const SerialPort &) = delete;
  SerialPort &operator=(const SerialPort &) = delete;
  ~SerialPort() { close(); }

  int configure(const LineSettings &s);
  // Opens the device for this host alone (lock file and TIOCEXCL); a
  // failure says why in the log and in failure().
  int open(const std::string &device);
  int reset();
  int raise_dtr();
  int set_rts_mode(int mode);
  int raise_rts();
  int start_tx();
  int start_rx();
  bool cts_active();
  int transmit(unsigned char byte);
  int pending_tx();
  int receive();
  int line_errors(bool clear);
  int close();

  bool is_open() const { return fd_ >= 0; }
  // Bytes were taken since the transmitter last reported empty: a frame is
  // on its way and its rest must follow.
  bool mid_frame() const { return mid_frame_; }
  bool has_input() const { return rx_head_ < rx_tail_; }
  bool has_output() const { return tx_head_ < tx_tail_; }
  bool hung_up() const { return hung_up_; }
  // Why the last open failed, with the device name; empty after a success.
  const std::string &failure() const { return failure_; }
  int descriptor() const { return fd_; }
  // Hands the user buffer to the kernel; gives how many bytes it took.
  long flush_output();

  // Bytes the kernel still held at the last pending_tx(), and how long the
  // line needs to send them.
  bool kernel_output_waiting() const { return kernel_queued_ > 0; }
  long drain_time_us() const;

  // Yields that returned at once because input waited, since the caller
  // last took a byte; a caller that never reads must not make them spin.
  int early_wakeups() const { return early_wakeups_; }
  // What the last CTS query said (true before any).
  bool last_cts() const { return cts_seen_; }
  void note_early_wakeup() { ++early_wakeups_; }

  // A wait saw input that no read() has taken yet; an answer also shows
  // that the bytes written before it have left.
  bool input_ready() const { return input_ready_; }
  void note_input() { input_ready_ = input_since_write_ = true; }

 private:
  int apply_settings();
  int refuse(const std::string &device, const std::string &reason, const std::string &log_text);
  int refuse(const std::string &device, int err);
  int refuse_busy(const std::string &device, pid_t holder);
  int set_modem_bit(int bit);
  bool read_counts(ErrorCounts &c) const;
  void fill_input();

  int fd_ = -1;
  pid_t opened_by_ = 0;
  PortLock lock_;
  std::string failure_;
  LineSettings settings_{};
  int rts_mode_ = 0;
  bool settings_valid_ = true;  // false after a rejected configuration
  bool no_modem_lines_ = false;
  bool no_transmitter_ = false;  // a pseudo-terminal
  bool hung_up_ = false;
  bool cts_seen_ = true;
  unsigned chunks_read_ = 0;     // read() calls that brought bytes
  unsigned chunks_counted_ = 0;  // chunks_read_ when the counters were last taken
  int pending_errors_ = 0;
  int kernel_queued_ = 0;
  bool kernel_may_hold_ = false;  // written since the kernel last said empty
  bool input_since_write_ = false;
  bool input_ready_ = false;
  bool mid_frame_ = false;
  int early_wakeups_ = 0;
  ErrorCounts seen_{};
  std::array<unsigned char, rx_capacity> rx_{};
  std::size_t rx_head_ = 0, rx_tail_ = 0;
  std::array<unsigned char, tx_capacity> tx_{};
  std::size_t tx_head_ = 0, tx_tail_ = 0;
};

constexpr int max_ports = 64;

// The port a number names (1 = first), or null outside 1..max_ports.
SerialPort *port_number(int porta);

// Device path for a port: ECF_SERIAL_DEVICE when set, else /dev/ttyS<porta-1>.
std::string device_for(int porta);

// The port last opened and still open, whose line the yields watch.
SerialPort *watched_port();
void watch_port(SerialPort *p);

// The serial yield blocks on the watched line until input arrives, for at
// most a fraction of a second and never past the next whole second.
void serial_yield();
// The common yield returns at once after a serial yield (that one waited
// for the pass); called on its own it blocks at most a couple of
// milliseconds, so millisecond delays stay accurate.
void common_yield();

}  // namespace ecfhost

#endif
