// The detail-tape memory of the MFD models: every printed line, kept by the
// document (COO) and day it belongs to, and read back by COO or date range.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/printer.h"

namespace ecfsim {

// The emulator's own download command (62 and a sub-command no host
// command uses): argument kind "1" dates or "2" COO, then start and end,
// 6 characters each; answered as a stream of the tape's lines.
inline constexpr uint16_t kDetailTapeDownload = 62 * 256 + 250;

class DetailTape {
 public:
  // Takes one printed line; a document header (date, time and COO) starts
  // a new document.
  void add_line(std::string_view line);
  // The lines of the documents in the range, each followed by a line feed.
  std::string read(bool by_coo, int64_t from, int64_t to) const;

 private:
  struct Document {
    uint32_t coo = 0;
    int64_t day = 0;  // days since 1970-01-01
    std::string text;
  };
  std::vector<Document> documents_;
};

// A paper sink that also keeps every line on the tape.
PaperSink recording_on(std::shared_ptr<DetailTape> tape, PaperSink paper);

}  // namespace ecfsim
