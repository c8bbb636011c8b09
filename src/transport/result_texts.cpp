// What each result code means, for hosts to show their operators. The one
// table of meanings: ecfctl and the README use it too.
#include <array>
#include <string_view>

#include "ecfbmtc/transport.h"

namespace {

struct Meaning {
  int code;
  const char *text;
};

constexpr std::array textos{
    Meaning{0, "success"},
    Meaning{1, "the printer did not carry out the command"},
    Meaning{2, "invalid argument, or an argument the printer refused"},
    Meaning{3, "payment-method file: section not found"},
    Meaning{4, "payment-method file: no method in its section; or the host did not sign a file"},
    Meaning{5, "fiscal memory full (ST2 40h)"},
    Meaning{9, "refused by the printer (ST2 02h)"},
    Meaning{11, "paper out or near its end"},
    Meaning{12, "printer error (ST1 10h), or an answer of unexpected length"},
    Meaning{15, "not offered by this printer, or a command it does not know"},
    Meaning{16, "a Reduction Z is due"},
    Meaning{19, "index outside the table"},
    Meaning{20, "the printer's memory or dates are inconsistent (ST2 20h)"},
    Meaning{30, "the printer's clock answer was too short"},
    Meaning{34, "command refused by the printer (failure code: its ST2)"},
    Meaning{36, "the printer refused the frame three times, or the serial port failed"},
    Meaning{37, "time-out: no complete answer from the printer"},
    Meaning{39, "printer not ready (execution status 12 or 13), or an unknown model"},
    Meaning{40, "no complete answer after line errors (parity, overrun, framing)"},
    Meaning{42, "no working memory for the command's arguments"},
    Meaning{44,
            "no memory for the driver's buffers, a file that cannot be opened, or nothing to "
            "repeat"},
    Meaning{45, "stopped: the export was asked to stop, or a file write failed"},
    Meaning{81, "an export file cannot be created, or a program could not be run"},
    Meaning{82, "the download program left no result file"},
    Meaning{83, "the download program reported a failure"},
};

}  // namespace

extern "C" const char *ECFBMTCAUX_texto_resultado(int codigo) {
  for (const Meaning &m : textos) {
    if (m.code == codigo) return m.text;
  }
  return "unknown result code";
}
