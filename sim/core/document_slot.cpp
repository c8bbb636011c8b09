// The document slot: authentication stamps, cheques, the CMC-7 reader and
// the slot sensor that tells whether a document is in.
#include <cstdio>

#include "core/printer_state.h"

namespace ecfsim {
namespace {

// Command 57: amount 14, payee 45, city 27, date 8, then this printer's
// layout bytes and the free text.
constexpr size_t kChequeFields = 14 + 45 + 27 + 8;
constexpr size_t kLayoutBytes = 13;
constexpr size_t kMaxCheque = 235;

bool slot_ready(const State &s) {
  return !model_has_slot_sensor(s.model->code) || s.slot == Slot::Inserted;
}

}  // namespace

Reply authentication(State &s, std::string_view args) {
  if (!(s.model->capability & 2)) return unknown_command();
  int64_t n = 0;
  if (s.mfd()) {
    if (args.size() != 2 && args.size() != 50) return bad_count();
    if (!parse_digits(args.substr(0, 2), n)) return bad_param();
  } else if (!args.empty()) {
    return bad_count();
  }
  if (!slot_ready(s)) return refuse(0, 0);
  const Civil c = civil_from_seconds(now(s));
  char buf[128];
  std::snprintf(buf, sizeof buf, "[autenticacao] %02lld %02d/%02d/%04d COO:%06u",
                static_cast<long long>(n), c.day, c.month, c.year, s.counters.coo);
  s.paper.text(buf);
  if (args.size() > 2) s.paper.text("[autenticacao] " + trim(args.substr(2)));
  s.slot = Slot::Printing;
  return ok();
}

Reply currency_name(State &s, bool plural, std::string_view args) {
  if (!(s.model->capability & 1)) return unknown_command();
  if (args.size() != (plural ? 22u : 19u)) return bad_count();
  (plural ? s.settings.currency_plural : s.settings.currency_singular) = trim(args);
  return ok();
}

Reply cheque(State &s, std::string_view args) {
  if (!(s.model->capability & 1)) return unknown_command();
  if (args.size() < kChequeFields + kLayoutBytes || args.size() > kMaxCheque) return bad_count();
  int64_t amount = 0, date = 0;
  if (!parse_digits(args.substr(0, 14), amount) || !parse_digits(args.substr(86, 8), date))
    return bad_param();
  const int day = static_cast<int>(date / 1000000), month = static_cast<int>(date / 10000 % 100);
  if (day < 1 || day > 31 || month < 1 || month > 12) return bad_param();
  if (!slot_ready(s)) return refuse(0, 0);
  const std::string d(args.substr(86, 8));
  const std::string words =
      amount == 100 ? s.settings.currency_singular : s.settings.currency_plural;
  s.paper.text("[cheque] valor R$ " + money_text(amount) + " (" + words + ")");
  s.paper.text("[cheque] a " + trim(args.substr(14, 45)));
  s.paper.text("[cheque] " + trim(args.substr(59, 27)) + ", " + d.substr(0, 2) + "/" +
               d.substr(2, 2) + "/" + d.substr(4, 4));
  const std::string text = trim(args.substr(kChequeFields + kLayoutBytes));
  if (!text.empty()) s.paper.text("[cheque] " + text);
  s.slot = Slot::Printing;
  return ok();
}

Reply read_cmc7(State &s, std::string_view args) {
  if (!model_has_cmc7(s.model->code)) return unknown_command();
  if (!(args.empty() || args == "1")) return bad_param();
  if (!slot_ready(s)) return refuse(0, 0);
  std::string line = "=23712345=0180000015^120000000027/";
  line.resize(37, ' ');
  s.slot = Slot::Printing;
  return ok("00" + line, Layout::DataFirst);
}

// The slot as an operator would work it: a document printed on is taken
// out, and the next one is put in once the printer has seen the slot empty.
// Bit 1 (2): no document; bit 2 (4): the document has been released.
Reply slot_status(State &s) {
  uint8_t v = 0;
  switch (s.slot) {
    case Slot::Inserted:
      v = 0;
      break;
    case Slot::Printing:
      v = 0;
      s.slot = Slot::Released;
      break;
    case Slot::Released:
      v = 2 | 4;
      s.slot = Slot::Empty;
      break;
    case Slot::Empty:
      v = 2;
      s.slot = Slot::Inserted;
      break;
  }
  return ok(std::string(1, static_cast<char>(v)), Layout::DataFirst);
}

Reply release_document(State &s) {
  if (s.slot == Slot::Inserted || s.slot == Slot::Printing) s.slot = Slot::Released;
  return ok();
}

}  // namespace ecfsim
