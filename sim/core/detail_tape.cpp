// The detail tape and its download command.
#include "core/detail_tape.h"

#include <memory>

#include "core/printer_state.h"

namespace ecfsim {

namespace {

bool digits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return !s.empty();
}

int number(std::string_view s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

// "DD/MM/YYYY HH:MM:SS ... COO:NNNNNN", as every document header prints it.
bool header(std::string_view l, uint32_t &coo, int64_t &day) {
  if (l.size() < 30 || l[2] != '/' || l[5] != '/' || l[13] != ':' ||
      l.substr(l.size() - 10, 4) != "COO:")
    return false;
  const std::string_view c = l.substr(l.size() - 6);
  if (!digits(c) || !digits(l.substr(0, 2)) || !digits(l.substr(3, 2)) || !digits(l.substr(6, 4)))
    return false;
  coo = static_cast<uint32_t>(number(c));
  day = days_from_civil(number(l.substr(6, 4)), number(l.substr(3, 2)), number(l.substr(0, 2)));
  return true;
}

}  // namespace

void DetailTape::add_line(std::string_view line) {
  uint32_t coo = 0;
  int64_t day = 0;
  if (header(line, coo, day)) {
    documents_.push_back({coo, day, {}});
  } else if (documents_.empty()) {
    documents_.push_back({});
  }
  documents_.back().text.append(line).push_back('\n');
}

std::string DetailTape::read(bool by_coo, int64_t from, int64_t to) const {
  std::string out;
  for (const auto &d : documents_) {
    const int64_t key = by_coo ? d.coo : d.day;
    if (key >= from && key <= to) out += d.text;
  }
  return out;
}

PaperSink recording_on(std::shared_ptr<DetailTape> tape, PaperSink paper) {
  return [tape, paper](std::string_view line) {
    tape->add_line(line);
    if (paper) paper(line);
  };
}

Reply detail_tape_download(State &s, std::string_view a) {
  auto fail = [](Reply r) {
    r.layout = Layout::Stream;
    return r;
  };
  if (a.size() != 13) return fail(bad_count());
  if ((a[0] != '1' && a[0] != '2') || !digits(a.substr(1))) return fail(bad_param());
  const bool by_coo = a[0] == '2';
  auto key = [by_coo](std::string_view t) -> int64_t {
    if (by_coo) return number(t);
    return days_from_civil(2000 + number(t.substr(4, 2)), number(t.substr(2, 2)),
                           number(t.substr(0, 2)));
  };
  return ok(s.detail_tape->read(by_coo, key(a.substr(1, 6)), key(a.substr(7, 6))), Layout::Stream);
}

}  // namespace ecfsim
