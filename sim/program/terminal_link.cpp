#include "program/terminal_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace ecfsim::program {

bool make_terminal_link(const std::string &link, const std::string &target, std::string &error) {
  struct stat st {};
  if (::lstat(link.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      error = link + " exists and is not a symbolic link";
      return false;
    }
    ::unlink(link.c_str());
  }
  if (::symlink(target.c_str(), link.c_str()) != 0) {
    error = "cannot link " + link + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void remove_terminal_link(const std::string &link, const std::string &target) {
  std::array<char, 4096> buf{};
  const ssize_t n = ::readlink(link.c_str(), buf.data(), buf.size() - 1);
  if (n > 0 && std::string(buf.data(), static_cast<size_t>(n)) == target) ::unlink(link.c_str());
}

}  // namespace ecfsim::program
