// A pseudo-terminal pair for tests that run the host kit's serial port: the
// kit opens the slave by name, the test plays the printer on the master.
#ifndef ECF_TESTS_PTY_PAIR_H
#define ECF_TESTS_PTY_PAIR_H

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace ecftest {

class PtyPair {
 public:
  PtyPair() {
    char nome[128] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master_, &slave_, nome, &raw, nullptr) == 0) {
      name_ = nome;
      fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
  }
  ~PtyPair() {
    close_master();
    if (slave_ >= 0) ::close(slave_);
  }
  PtyPair(const PtyPair &) = delete;
  PtyPair &operator=(const PtyPair &) = delete;

  bool ok() const { return master_ >= 0 && slave_ >= 0; }
  const std::string &slave_name() const { return name_; }
  int slave() const { return slave_; }
  void close_master() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  // Small writes into an empty line go through whole: no wait needed.
  bool write_all(const std::vector<unsigned char> &bytes) {
    return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Reads exactly n bytes from the master, or what came before the limit.
  std::vector<unsigned char> read_n(std::size_t n,
                                    std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto fim = std::chrono::steady_clock::now() + limit;
    std::vector<unsigned char> out;
    unsigned char buf[4096];
    while (out.size() < n) {
      const std::size_t quer = std::min(sizeof buf, n - out.size());
      const ssize_t k = ::read(master_, buf, quer);
      if (k > 0) {
        out.insert(out.end(), buf, buf + k);
        continue;
      }
      if (!wait(POLLIN, fim)) break;
    }
    return out;
  }

  // Waits until the slave side has input to read (without taking it).
  bool slave_has_input(std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    pollfd p{slave_, POLLIN, 0};
    return poll(&p, 1, static_cast<int>(limit.count())) > 0 && (p.revents & POLLIN) != 0;
  }

 private:
  bool wait(short eventos, std::chrono::steady_clock::time_point fim) {
    const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(
        fim - std::chrono::steady_clock::now());
    if (resta.count() <= 0) return false;
    pollfd p{master_, eventos, 0};
    return poll(&p, 1, static_cast<int>(resta.count())) > 0;
  }

  int master_ = -1;
  int slave_ = -1;
  std::string name_;
};

}  // namespace ecftest

#endif
