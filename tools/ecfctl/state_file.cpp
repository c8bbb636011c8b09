#include "state_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <cstring>

namespace ecfctl {
namespace {

// File layout: magic (8), format version (4), record size (4), CRC-32 (4) of
// what follows it, repeat code (4, signed), then the record. Integers
// little-endian.
constexpr std::array<uint8_t, 8> kMagic{'E', 'C', 'F', 'C', 'T', 'L', 'S', 'T'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 24;
constexpr size_t kCrcFrom = 20;
constexpr size_t kMaxRecord = 8192;

void put_u32(uint8_t *p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t get_u32(const uint8_t *p) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

std::string errno_text(const std::string &what, const std::string &path) {
  return what + " " + path + ": " + std::strerror(errno);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd &) = delete;
  Fd &operator=(const Fd &) = delete;
  int get() const { return fd_; }
  int release() {
    int f = fd_;
    fd_ = -1;
    return f;
  }

 private:
  int fd_;
};

bool write_all(int fd, const uint8_t *p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

// Reads at most `cap` bytes; returns how many, or -1.
ssize_t read_up_to(int fd, uint8_t *p, size_t cap) {
  size_t got = 0;
  while (got < cap) {
    ssize_t r = ::read(fd, p + got, cap - got);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == 0) break;
    got += static_cast<size_t>(r);
  }
  return static_cast<ssize_t>(got);
}

}  // namespace

uint32_t crc32(std::span<const uint8_t> bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

LoadResult load_state(const std::string &path, SavedState &state) {
  std::span<uint8_t> record = state.record;
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return {LoadStatus::Missing, {}};
    return {LoadStatus::Invalid, errno_text("cannot open", path)};
  }
  if (record.size() > kMaxRecord) return {LoadStatus::Invalid, "record too large"};
  // One byte more than a valid file holds, to notice trailing data.
  std::array<uint8_t, kHeaderSize + kMaxRecord + 1> buf{};
  ssize_t n = read_up_to(fd.get(), buf.data(), kHeaderSize + record.size() + 1);
  if (n < 0) return {LoadStatus::Invalid, errno_text("cannot read", path)};
  auto size = static_cast<size_t>(n);
  if (size != kHeaderSize + record.size() ||
      std::memcmp(buf.data(), kMagic.data(), kMagic.size()) != 0 ||
      get_u32(buf.data() + 8) != kVersion || get_u32(buf.data() + 12) != record.size()) {
    return {LoadStatus::Invalid,
            path + " is not a saved driver record of " + std::to_string(record.size()) + " bytes"};
  }
  std::span<const uint8_t> covered(buf.data() + kCrcFrom, kHeaderSize - kCrcFrom + record.size());
  if (crc32(covered) != get_u32(buf.data() + 16)) {
    return {LoadStatus::Invalid, path + " is damaged (checksum mismatch)"};
  }
  std::memcpy(record.data(), buf.data() + kHeaderSize, record.size());
  state.repeat_code = static_cast<int32_t>(get_u32(buf.data() + kCrcFrom));
  return {LoadStatus::Loaded, {}};
}

std::string save_state(const std::string &path, std::span<const uint8_t> record,
                       int32_t repeat_code) {
  if (record.size() > kMaxRecord) return "record too large";
  std::array<uint8_t, kHeaderSize + kMaxRecord> buf{};
  std::memcpy(buf.data(), kMagic.data(), kMagic.size());
  put_u32(buf.data() + 8, kVersion);
  put_u32(buf.data() + 12, static_cast<uint32_t>(record.size()));
  put_u32(buf.data() + kCrcFrom, static_cast<uint32_t>(repeat_code));
  std::memcpy(buf.data() + kHeaderSize, record.data(), record.size());
  put_u32(buf.data() + 16, crc32(std::span<const uint8_t>(buf.data() + kCrcFrom,
                                                          kHeaderSize - kCrcFrom + record.size())));

  const std::string tmp = path + ".tmp." + std::to_string(::getpid());
  {
    Fd fd(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0) return errno_text("cannot create", tmp);
    if (!write_all(fd.get(), buf.data(), kHeaderSize + record.size()) ||
        ::fdatasync(fd.get()) != 0) {
      std::string err = errno_text("cannot write", tmp);
      ::unlink(tmp.c_str());
      return err;
    }
    if (::close(fd.release()) != 0) {
      std::string err = errno_text("cannot write", tmp);
      ::unlink(tmp.c_str());
      return err;
    }
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    std::string err = errno_text("cannot replace", path);
    ::unlink(tmp.c_str());
    return err;
  }
  // One flush per save: the new bytes are on the disk before the rename, so
  // a power cut leaves the old record or the new one, never a torn one.
  return {};
}

StateLock::StateLock(const std::string &path) {
  const std::string lock_path = path + ".lock";
  fd_ = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    error_ = errno_text("cannot open", lock_path);
    return;
  }
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    error_ = (errno == EWOULDBLOCK) ? "another ecfctl is using " + path
                                    : errno_text("cannot lock", lock_path);
    ::close(fd_);
    fd_ = -1;
  }
}

StateLock::~StateLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace ecfctl
