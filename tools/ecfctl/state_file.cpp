#include "state_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace ecfctl {
namespace {

// Single-copy file of earlier versions: magic (8), format version 1 (4),
// record size (4), CRC-32 (4) of what follows it, repeat code (4, signed),
// then the record.
//
// Two-slot file: two slots of kSlotBytes each, one page apiece so that
// rewriting one never touches the other's blocks. A slot: magic (8), format
// version 2 (4), record size (4), CRC-32 (4) of what follows it, sequence
// number (8), repeat code (4, signed), then the record, zeros to the end.
// Integers little-endian. An all-zero slot (not yet written) is not valid.
constexpr std::array<uint8_t, 8> kMagic{'E', 'C', 'F', 'C', 'T', 'L', 'S', 'T'};
constexpr uint32_t kSingleCopyVersion = 1;
constexpr uint32_t kSlotVersion = 2;
constexpr size_t kCrcAt = 16;
constexpr size_t kCrcFrom = 20;
constexpr size_t kSingleCopyHeader = 24;
constexpr size_t kSequenceAt = 20;
constexpr size_t kSlotRepeatAt = 28;
constexpr size_t kSlotHeader = 32;
constexpr size_t kSlotBytes = 4096;
constexpr size_t kSlots = 2;
constexpr size_t kFileBytes = kSlots * kSlotBytes;
constexpr size_t kMaxRecord = kSlotBytes - kSlotHeader;
static_assert(kSingleCopyHeader + kMaxRecord < kFileBytes);

using Slot = std::array<uint8_t, kSlotBytes>;

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

bool write_all_at(int fd, const uint8_t *p, size_t n, off_t at) {
  while (n > 0) {
    ssize_t w = ::pwrite(fd, p, n, at);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      if (w == 0) errno = EIO;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
    at += static_cast<off_t>(w);
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

std::string_view kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

std::string not_a_file(const std::string &path, mode_t mode) {
  return path + " is " + std::string(kind_of(mode)) + "; the state must be a regular file";
}

bool header_fits(const uint8_t *p, uint32_t version, size_t record_size) {
  return std::memcmp(p, kMagic.data(), kMagic.size()) == 0 && get_u32(p + 8) == version &&
         get_u32(p + 12) == record_size;
}

bool crc_matches(const uint8_t *p, size_t header, size_t record_size) {
  return crc32(std::span<const uint8_t>(p + kCrcFrom, header - kCrcFrom + record_size)) ==
         get_u32(p + kCrcAt);
}

uint64_t sequence_of(const uint8_t *slot) {
  return static_cast<uint64_t>(get_u32(slot + kSequenceAt)) |
         (static_cast<uint64_t>(get_u32(slot + kSequenceAt + 4)) << 32);
}

void fill_slot(Slot &slot, std::span<const uint8_t> record, int32_t repeat_code,
               uint64_t sequence) {
  std::memcpy(slot.data(), kMagic.data(), kMagic.size());
  put_u32(slot.data() + 8, kSlotVersion);
  put_u32(slot.data() + 12, static_cast<uint32_t>(record.size()));
  put_u32(slot.data() + kSequenceAt, static_cast<uint32_t>(sequence));
  put_u32(slot.data() + kSequenceAt + 4, static_cast<uint32_t>(sequence >> 32));
  put_u32(slot.data() + kSlotRepeatAt, static_cast<uint32_t>(repeat_code));
  std::memcpy(slot.data() + kSlotHeader, record.data(), record.size());
  put_u32(slot.data() + kCrcAt,
          crc32(std::span<const uint8_t>(slot.data() + kCrcFrom,
                                         kSlotHeader - kCrcFrom + record.size())));
}

// The rename of a new file is durable only once its folder is flushed.
bool flush_folder_of(const std::string &path) {
  const auto slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return dir.get() >= 0 && ::fsync(dir.get()) == 0;
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

std::string unusable_state_path(const std::string &path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
  return not_a_file(path, st.st_mode);
}

StateFile::~StateFile() {
  if (fd_ >= 0) ::close(fd_);
}

LoadResult StateFile::load(SavedState &state) {
  std::span<uint8_t> record = state.record;
  if (record.size() > kMaxRecord) return {LoadStatus::Invalid, "record too large"};
  if (auto why = unusable_state_path(path_); !why.empty()) return {LoadStatus::Invalid, why};
  // Never blocks: the type is checked again on what was opened.
  constexpr int kFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int raw = ::open(path_.c_str(), O_RDWR | kFlags);
  if (raw < 0 && (errno == EACCES || errno == EROFS))
    raw = ::open(path_.c_str(), O_RDONLY | kFlags);
  Fd fd(raw);
  if (fd.get() < 0) {
    if (errno == ENOENT) return {LoadStatus::Missing, {}};
    return {LoadStatus::Invalid, errno_text("cannot open", path_)};
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return {LoadStatus::Invalid, errno_text("cannot read", path_)};
  if (!S_ISREG(st.st_mode)) return {LoadStatus::Invalid, not_a_file(path_, st.st_mode)};
  // One byte more than a valid file holds, to notice trailing data.
  std::array<uint8_t, kFileBytes + 1> buf{};
  ssize_t n = read_up_to(fd.get(), buf.data(), buf.size());
  if (n < 0) return {LoadStatus::Invalid, errno_text("cannot read", path_)};
  const auto size = static_cast<size_t>(n);
  const std::string not_a_record =
      path_ + " is not a saved driver record of " + std::to_string(record.size()) + " bytes";
  const std::string damaged = path_ + " is damaged (checksum mismatch)";

  if (size == kSingleCopyHeader + record.size()) {
    if (!header_fits(buf.data(), kSingleCopyVersion, record.size()))
      return {LoadStatus::Invalid, not_a_record};
    if (!crc_matches(buf.data(), kSingleCopyHeader, record.size()))
      return {LoadStatus::Invalid, damaged};
    std::memcpy(record.data(), buf.data() + kSingleCopyHeader, record.size());
    state.repeat_code = static_cast<int32_t>(get_u32(buf.data() + kCrcFrom));
    return {LoadStatus::Loaded, {}};  // the first save converts it
  }
  if (size != kFileBytes) return {LoadStatus::Invalid, not_a_record};
  int newest = -1;
  bool any_header = false;
  for (size_t i = 0; i < kSlots; ++i) {
    const uint8_t *slot = buf.data() + i * kSlotBytes;
    if (!header_fits(slot, kSlotVersion, record.size())) continue;
    any_header = true;
    if (!crc_matches(slot, kSlotHeader, record.size())) continue;
    if (newest < 0 || sequence_of(slot) > sequence_of(buf.data() + newest * kSlotBytes))
      newest = static_cast<int>(i);
  }
  if (newest < 0) return {LoadStatus::Invalid, any_header ? damaged : not_a_record};
  const uint8_t *slot = buf.data() + static_cast<size_t>(newest) * kSlotBytes;
  std::memcpy(record.data(), slot + kSlotHeader, record.size());
  state.repeat_code = static_cast<int32_t>(get_u32(slot + kSlotRepeatAt));
  sequence_ = sequence_of(slot);
  newest_ = newest;
  if ((fcntl(fd.get(), F_GETFL) & O_ACCMODE) == O_RDWR) fd_ = fd.release();
  return {LoadStatus::Loaded, {}};
}

std::string StateFile::save(std::span<const uint8_t> record, int32_t repeat_code) {
  if (record.size() > kMaxRecord) return "record too large";
  Slot slot{};
  fill_slot(slot, record, repeat_code, sequence_ + 1);
  if (fd_ < 0) {
    if (auto err = create(slot); !err.empty()) return err;
  } else {
    // The older slot; the newer stays whole whatever happens to this write.
    const int target = 1 - newest_;
    if (!write_all_at(fd_, slot.data(), slot.size(),
                      static_cast<off_t>(static_cast<size_t>(target) * kSlotBytes)))
      return errno_text("cannot write", path_);
    if (::fdatasync(fd_) != 0) return errno_text("cannot flush", path_);
    newest_ = target;
  }
  ++sequence_;
  return {};
}

// A new file, or one in the single-copy form: written whole beside the old
// one, flushed, then renamed over it, so a power cut leaves one or the other.
std::string StateFile::create(std::span<const uint8_t> slot) {
  const std::string tmp = path_ + ".tmp." + std::to_string(::getpid());
  Fd fd(::open(tmp.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (fd.get() < 0) return errno_text("cannot create", tmp);
  std::array<uint8_t, kFileBytes> file{};
  std::memcpy(file.data(), slot.data(), slot.size());
  if (!write_all_at(fd.get(), file.data(), file.size(), 0) || ::fdatasync(fd.get()) != 0) {
    std::string err = errno_text("cannot write", tmp);
    ::unlink(tmp.c_str());
    return err;
  }
  if (::rename(tmp.c_str(), path_.c_str()) != 0) {
    std::string err = errno_text("cannot replace", path_);
    ::unlink(tmp.c_str());
    return err;
  }
  if (!flush_folder_of(path_)) return errno_text("cannot flush the folder of", path_);
  fd_ = fd.release();
  newest_ = 0;
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
