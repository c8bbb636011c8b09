#include "program/paper.h"

#include <cerrno>
#include <cstring>

namespace ecfsim::program {

PaperRoll::PaperRoll(const std::string &path) {
  if (path.empty()) {
    file_ = stdout;
    return;
  }
  file_ = std::fopen(path.c_str(), "ae");
  if (!file_) {
    error_ = "cannot open paper file " + path + ": " + std::strerror(errno);
    return;
  }
  owned_ = true;
}

PaperRoll::~PaperRoll() {
  if (owned_ && file_) std::fclose(file_);
}

void PaperRoll::print_line(std::string_view line) {
  if (!file_) return;
  // A reader that went away (closed pipe) must not stop the printer.
  if (!line.empty()) std::fwrite(line.data(), 1, line.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
  std::clearerr(file_);
}

}  // namespace ecfsim::program
