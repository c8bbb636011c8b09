#include "program/paper.h"

#include <cerrno>
#include <cstring>

namespace ecfsim::program {

std::string latin1_to_utf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size() * 2);
  for (char c : latin1) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else if (b < 0xA0) {
      out.push_back(' ');
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

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
  const std::string text = latin1_to_utf8(line);
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
  std::clearerr(file_);
}

}  // namespace ecfsim::program
