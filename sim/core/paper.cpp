#include "core/paper.h"

#include <algorithm>

namespace ecfsim {

void Paper::emit(std::string_view l) {
  while (!l.empty() && l.back() == ' ') l.remove_suffix(1);
  if (sink_) sink_(l);
}

void Paper::text(std::string_view t) {
  const size_t cols = static_cast<size_t>(columns_);
  std::string cur;
  auto flush = [&] {
    emit(cur);
    cur.clear();
  };
  for (char c : t) {
    if (c == '\n') {
      flush();
      continue;
    }
    unsigned char u = static_cast<unsigned char>(c);
    cur.push_back(u < 32 || u == 127 ? ' ' : c);
    if (cur.size() == cols) flush();
  }
  if (!cur.empty() || t.empty()) flush();
}

void Paper::center(std::string_view t) {
  const size_t cols = static_cast<size_t>(columns_);
  if (t.size() >= cols) {
    text(t);
    return;
  }
  std::string l((cols - t.size()) / 2, ' ');
  l.append(t);
  emit(l);
}

void Paper::pair(std::string_view left, std::string_view right) {
  const size_t cols = static_cast<size_t>(columns_);
  if (left.size() + right.size() + 1 > cols) {
    text(left);
    std::string l(cols > right.size() ? cols - right.size() : 0, ' ');
    l.append(right.substr(0, cols));
    emit(l);
    return;
  }
  std::string l(left);
  l.append(cols - left.size() - right.size(), ' ');
  l.append(right);
  emit(l);
}

void Paper::rule(char c) {
  emit(std::string(static_cast<size_t>(columns_), c));
}

namespace {

std::string_view barcode_kind(uint8_t sel) {
  switch (sel) {
    case 'D':
      return "EAN-8";
    case 'C':
      return "EAN-13";
    case 'E':
      return "CODE 39";
    case 'I':
      return "CODE 128";
    case 'G':
      return "CODABAR";
    case 'F':
      return "ITF";
    default:
      return "?";
  }
}

}  // namespace

void Paper::free_text(std::string_view b) {
  std::string cur;
  bool expanded = false;
  auto flush = [&] {
    // Expanded print takes two columns a character; shown spaced out
    // when it fits the line.
    if (expanded && 2 * cur.size() <= static_cast<size_t>(columns_)) {
      std::string wide;
      for (char c : cur) {
        wide.push_back(c);
        wide.push_back(' ');
      }
      text(wide);
    } else {
      text(cur);
    }
    cur.clear();
    expanded = false;
  };
  size_t i = 0;
  while (i < b.size()) {
    const uint8_t c = static_cast<uint8_t>(b[i]);
    if (c == '\n') {
      flush();
      ++i;
    } else if (c == 14) {
      expanded = true;
      ++i;
    } else if (c == 27) {
      // ESC m cuts the paper; other ESC pairs only set the print mode.
      if (i + 1 < b.size() && b[i + 1] == 'm') {
        if (!cur.empty()) flush();
        emit("- - - - - - - - corte - - - - - - - -");
      }
      i += 2;
    } else if (c == 0x1D) {
      // GS sequences: bar-code settings and the bar code itself.
      if (i + 2 < b.size() && b[i + 1] == 'k') {
        const uint8_t sel = static_cast<uint8_t>(b[i + 2]);
        if (sel == 0x84) {  // margin: two value bytes
          i += 5;
          continue;
        }
        if (i + 3 < b.size()) {
          const size_t n = static_cast<uint8_t>(b[i + 3]);
          const size_t start = i + 4;
          const size_t len = std::min(n, b.size() - std::min(start, b.size()));
          if (!cur.empty()) flush();
          std::string l = "||||| ";
          l.append(barcode_kind(sel));
          l.append(" ");
          l.append(b.substr(std::min(start, b.size()), len));
          l.append(" |||||");
          text(l);
          i = start + len;
          continue;
        }
        i = b.size();
      } else {
        i += 3;  // GS x n
      }
    } else {
      cur.push_back(c < 32 ? ' ' : static_cast<char>(c));
      ++i;
    }
  }
  if (!cur.empty()) flush();
}

}  // namespace ecfsim
