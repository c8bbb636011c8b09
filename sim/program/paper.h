// Where the printed paper goes: a file (appended) or standard output, one
// line at a time, flushed at once so a person can watch it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace ecfsim::program {

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
