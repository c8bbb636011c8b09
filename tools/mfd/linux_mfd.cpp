// Stand-in of the detail-tape download program for the emulator:
//   LinuxMFD DEVICE FILE KIND START END NUMBER
// reads the emulator's detail tape (KIND 1: dates DDMMYY, 2: COO) over the
// serial line into FILE and leaves its result, 0 or a failure number, in
// "LinuxMFD.ret". ECF_SERIAL_DEVICE names the device instead of DEVICE when
// set, and ECF_SERIAL_SPEED the speed, as for the host kit. A real printer
// needs its maker's program.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "download_format.h"

namespace {

enum Failure { kOk = 0, kUsage = 1, kPort = 2, kTimeOut = 3, kRefused = 4, kFile = 5 };

constexpr int kByteWindowMs = 30000;                // silence allowed between bytes
constexpr long long kTotalLimitMs = 6LL * 3600000;  // a whole download at 9600 baud fits

long long now_ms() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

int finish(int result) {
  if (FILE *f = std::fopen("LinuxMFD.ret", "w")) {
    std::fprintf(f, "%d\n", result);
    std::fclose(f);
  }
  return result == kOk ? 0 : 1;
}

speed_t speed_of(long bps) {
  switch (bps) {
    case 115200:
      return B115200;
    case 57600:
      return B57600;
    case 38400:
      return B38400;
    case 19200:
      return B19200;
    default:
      return B9600;
  }
}

int open_port(const char *device) {
  const int fd = open(device, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  termios t{};
  if (tcgetattr(fd, &t) == 0) {
    cfmakeraw(&t);
    const char *s = std::getenv("ECF_SERIAL_SPEED");
    const speed_t sp = speed_of(s ? std::atol(s) : 9600);
    cfsetispeed(&t, sp);
    cfsetospeed(&t, sp);
    tcsetattr(fd, TCSANOW, &t);
  }
  tcflush(fd, TCIFLUSH);
  return fd;
}

bool send_all(int fd, const std::string &bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + sent, bytes.size() - sent);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// 02, length, 1Bh, the command 62 / 250, the arguments, the checksum.
std::string frame(const std::string &args) {
  std::string body = "\x1b\x3e\xfa" + args;
  unsigned sum = 0;
  for (unsigned char c : body) sum += c;
  const size_t l = body.size() + 2;
  std::string f = {'\x02', static_cast<char>(l & 0xFF), static_cast<char>(l >> 8)};
  return f + body + static_cast<char>(sum & 0xFF) + static_cast<char>((sum >> 8) & 0xFF);
}

// The answer: 06, ST1, ST2, then the text up to 03.
int receive(int fd, std::string &text) {
  const long long end = now_ms() + kTotalLimitMs;
  std::string head;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    const long long left = end - now_ms();
    if (left <= 0 ||
        poll(&p, 1, static_cast<int>(left < kByteWindowMs ? left : kByteWindowMs)) <= 0)
      return kTimeOut;
    char buf[4096];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return kTimeOut;
    for (ssize_t i = 0; i < n; ++i) {
      const char c = buf[i];
      if (head.size() < 3) {
        if (head.empty() && c != '\x06') continue;
        head.push_back(c);
        if (head.size() == 3 && (head[2] & 1)) return kRefused;
        continue;
      }
      if (c == '\x03') return kOk;
      text.push_back(c);
    }
  }
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 7 || (std::strcmp(argv[3], "1") != 0 && std::strcmp(argv[3], "2") != 0) ||
      std::strlen(argv[4]) != 6 || std::strlen(argv[5]) != 6)
    return finish(kUsage);
  const char *env = std::getenv("ECF_SERIAL_DEVICE");
  const int fd = open_port(env != nullptr && *env != '\0' ? env : argv[1]);
  if (fd < 0) return finish(kPort);
  std::string text;
  int r = send_all(fd, frame(std::string(argv[3]) + argv[4] + argv[5])) ? receive(fd, text) : kPort;
  close(fd);
  if (r != kOk) return finish(r);
  FILE *out = std::fopen(argv[2], "wb");
  if (out == nullptr) return finish(kFile);
  const bool written = std::fputs(kDownloadMagic, out) >= 0 &&
                       std::fwrite(text.data(), 1, text.size(), out) == text.size();
  r = std::fclose(out) == 0 && written ? kOk : kFile;
  return finish(r);
}
