// The receipt roll: every printed line laid out to the model's columns.
#pragma once

#include <string>
#include <string_view>

#include "core/printer.h"

namespace ecfsim {

class Paper {
 public:
  Paper(PaperSink sink, int columns) : sink_(std::move(sink)), columns_(columns) {}

  int columns() const { return columns_; }
  // Prints the text, wrapped at the columns; control bytes other than
  // line feeds become blanks.
  void text(std::string_view t);
  void line(std::string_view t) { text(t); }
  void center(std::string_view t);
  // Left text and right text on one line, the right one flush right.
  void pair(std::string_view left, std::string_view right);
  void rule(char c = '-');
  void blank() { emit({}); }
  // Free text as the host sends it: line feeds end lines, byte 14 starts
  // an expanded line, ESC sequences and bar codes are shown readably.
  void free_text(std::string_view bytes);

 private:
  void emit(std::string_view l);
  PaperSink sink_;
  int columns_;
};

}  // namespace ecfsim
