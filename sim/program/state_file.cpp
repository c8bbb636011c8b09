#include "program/state_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "program/unique_fd.h"

namespace ecfsim::program {

namespace {

// Far above any real printer memory; a larger file is not ours.
constexpr size_t kMaxStateBytes = size_t{64} << 20;

std::string describe(const char *what, const std::string &path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

StateRead read_state_file(const std::string &path, std::string &bytes, std::string &error) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT) return StateRead::Missing;
    error = describe("cannot open", path);
    return StateRead::Failed;
  }
  bytes.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = describe("cannot read", path);
      return StateRead::Failed;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<size_t>(n) > kMaxStateBytes) {
      error = "state file " + path + " is too large";
      return StateRead::Failed;
    }
    bytes.append(chunk, static_cast<size_t>(n));
  }
  return StateRead::Loaded;
}

bool write_state_file(const std::string &path, std::string_view bytes, std::string &error) {
  const std::string temp = path + ".tmp";
  {
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd) {
      error = describe("cannot create", temp);
      return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = describe("cannot write", temp);
        ::unlink(temp.c_str());
        return false;
      }
      done += static_cast<size_t>(n);
    }
    // No fsync: the rename already guards against the program being
    // killed, which is the power cut this emulates; a sync per command
    // would slow every benchmark down.
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    error = describe("cannot rename to", path);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace ecfsim::program
