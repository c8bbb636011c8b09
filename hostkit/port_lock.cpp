#include "port_lock.h"

#include "log_sink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ecfhost {

namespace {

// Lock files that vanish or turn stale between two looks are tried again,
// a few times only.
constexpr int max_attempts = 3;
// Room for "LCK.." and the device name in one file name.
constexpr std::size_t max_name = 250;

bool alive(pid_t pid) {
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

// The PID a lock file names: -1 when there is no such file, 0 when it names
// none (empty, garbled or unreadable).
pid_t read_pid(const std::string &path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? -1 : 0;
  std::array<char, 32> text{};
  const ssize_t n = ::read(fd, text.data(), text.size() - 1);
  ::close(fd);
  if (n <= 0) return 0;
  char *end = nullptr;
  const long long pid = std::strtoll(text.data(), &end, 10);
  const bool clean = end != text.data() && (*end == '\0' || *end == '\n' || *end == ' ');
  return clean && pid > 0 && pid <= 0x7FFFFFFF ? static_cast<pid_t>(pid) : 0;
}

// A new file holding "%10d\n" with the PID; false with errno set.
bool write_pid_file(const std::string &path, pid_t pid) {
  ::unlink(path.c_str());  // a leftover of a process that had this PID before
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::array<char, 16> text{};
  const int n = std::snprintf(text.data(), text.size(), "%10ld\n", static_cast<long>(pid));
  const bool ok = ::write(fd, text.data(), static_cast<std::size_t>(n)) == n;
  const int err = ok || errno == 0 ? EIO : errno;
  ::close(fd);
  if (!ok) {
    ::unlink(path.c_str());
    errno = err;
  }
  return ok;
}

void log_no_folder(const std::string &folder, int err) {
  log_line("serial: pasta de travas " + folder + " sem uso (" + std::strerror(err) +
           "): porta so com TIOCEXCL");
}

}  // namespace

std::string lock_folder() {
  const char *set = std::getenv("ECF_LOCK_DIR");
  if (set != nullptr && *set != '\0') return set;
  struct stat st {};
  return ::stat("/run/lock", &st) == 0 && S_ISDIR(st.st_mode) ? "/run/lock" : "/var/lock";
}

std::string lock_name(const std::string &device) {
  // Every name of the device (a link under /dev/serial, say) gives one lock.
  std::string name = device;
  if (char *real = ::realpath(device.c_str(), nullptr); real != nullptr) {
    name = real;
    std::free(real);
  }
  constexpr std::string_view dev = "/dev/";
  if (name.compare(0, dev.size(), dev) == 0) name.erase(0, dev.size());
  while (!name.empty() && name.front() == '/') name.erase(0, 1);
  for (char &c : name) {
    if (c == '/') c = '_';
  }
  if (name.size() > max_name) name.resize(max_name);
  return "LCK.." + name;
}

pid_t lock_holder(const std::string &device) {
  const pid_t pid = read_pid(lock_folder() + "/" + lock_name(device));
  return pid > 0 && alive(pid) ? pid : 0;
}

PortLock::Outcome PortLock::take(const std::string &device) {
  release();
  holder_ = 0;
  const std::string folder = lock_folder();
  const std::string path = folder + "/" + lock_name(device);
  const pid_t me = ::getpid();
  // Written whole under a name of our own and linked into place: nobody
  // ever reads a half-written lock.
  const std::string temp = folder + "/LTMP." + std::to_string(me);
  if (!write_pid_file(temp, me)) {
    log_no_folder(folder, errno);
    return Outcome::no_folder;
  }
  Outcome outcome = Outcome::busy;
  for (int attempt = 0; attempt < max_attempts; ++attempt) {
    if (::link(temp.c_str(), path.c_str()) == 0) {
      path_ = path;
      owner_ = me;
      outcome = Outcome::taken;
      break;
    }
    if (errno != EEXIST) {
      log_no_folder(folder, errno);
      outcome = Outcome::no_folder;
      break;
    }
    const pid_t pid = read_pid(path);
    if (pid > 0 && alive(pid)) {
      holder_ = pid;
      break;
    }
    // Its owner died without removing it.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) break;
    if (pid >= 0)
      log_line("serial: trava abandonada " + path + " (PID " + std::to_string(pid) + ") removida");
  }
  ::unlink(temp.c_str());
  return outcome;
}

void PortLock::release() {
  if (path_.empty()) return;
  // A forked child that exits leaves its parent's lock alone.
  if (::getpid() == owner_ && read_pid(path_) == owner_) ::unlink(path_.c_str());
  path_.clear();
  owner_ = 0;
}

}  // namespace ecfhost
