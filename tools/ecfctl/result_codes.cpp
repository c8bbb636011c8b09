#include "result_codes.h"

#include <array>
#include <utility>

namespace ecfctl {
namespace {

struct CodeMeaning {
  int code;
  std::string_view meaning;
};

constexpr std::array kMeanings{
    CodeMeaning{0, "success"},
    CodeMeaning{1, "the printer did not carry out the command"},
    CodeMeaning{2, "invalid argument, or a command refused for its arguments"},
    CodeMeaning{3, "payment-method file: section not found"},
    CodeMeaning{4, "payment-method file: no method in the section"},
    CodeMeaning{5, "fiscal memory full"},
    CodeMeaning{9, "the printer refused the command (status ST2 bit 1)"},
    CodeMeaning{11, "paper out or near its end"},
    CodeMeaning{12, "printer error, or an answer of unexpected length"},
    CodeMeaning{15, "not available on this printer"},
    CodeMeaning{16, "a Reduction Z is due"},
    CodeMeaning{19, "index out of range"},
    CodeMeaning{20, "the printer's dates disagree (last movement after its clock)"},
    CodeMeaning{34, "command refused by the printer"},
    CodeMeaning{36, "the printer refused the frame three times, or the serial port failed"},
    CodeMeaning{37, "time-out: no complete answer from the printer"},
    CodeMeaning{39, "unknown printer model, or refused by its execution status"},
    CodeMeaning{40, "no complete answer after line errors (parity, overrun, framing)"},
    CodeMeaning{42, "driver working memory not available"},
    CodeMeaning{44, "driver buffers not available, or nothing to repeat"},
    CodeMeaning{45, "export stopped, or a capture file could not be written"},
};

}  // namespace

std::string_view result_meaning(int code) {
  for (const auto &m : kMeanings) {
    if (m.code == code) return m.meaning;
  }
  return "unknown result";
}

}  // namespace ecfctl
