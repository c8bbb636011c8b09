// Where the printed paper goes: a file (appended) or standard output, one
// line at a time, flushed at once so a person can watch it. The printer
// prints Latin-1; people read UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace ecfsim::program {

// A Latin-1 line as UTF-8. The C1 control bytes (80h to 9Fh) have no glyph
// on the paper and show as blanks, as the other control bytes do.
std::string latin1_to_utf8(std::string_view latin1);

class PaperRoll {
 public:
  // Empty path: standard output.
  explicit PaperRoll(const std::string &path);
  ~PaperRoll();
  PaperRoll(const PaperRoll &) = delete;
  PaperRoll &operator=(const PaperRoll &) = delete;

  bool is_open() const { return file_ != nullptr; }
  const std::string &error() const { return error_; }
  void print_line(std::string_view line);

 private:
  FILE *file_ = nullptr;
  bool owned_ = false;
  std::string error_;
};

}  // namespace ecfsim::program
