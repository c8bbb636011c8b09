// The fiscal day: opening, verification, Reading X, Reduction Z, the
// reduction's figures, and the repeat of an interrupted operation.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "record_sync.h"
#include "registry.h"
#include "session.h"

namespace ecfctl {
namespace {

using fn_void = int();
using fn_text = int(const char *);
using fn_record = int(void *);

// Runs the driver operation `name` (no arguments) and reports it as `label`.
int run_plain(Session &s, const char *label, const char *name) {
  auto *f = reinterpret_cast<fn_void *>(s.symbol(name));
  if (f == nullptr) return report(s, label, kMissingOperation);
  if (int r = s.ensure_configured(); r != 0) return report(s, label, r);
  return report(s, label, s.call(f));
}

int cmd_open_day(Session &s, const std::vector<std::string> &) {
  return run_plain(s, "open-day", "ECFIF_abre");
}

int cmd_verify(Session &s, const std::vector<std::string> &) {
  return run_plain(s, "verify", "ECFIF_verifica");
}

// x [TEXT]: the Reading X; with a text, followed by a management report
// holding it.
int cmd_x(Session &s, const std::vector<std::string> &args) {
  if (args.size() < 2) return run_plain(s, "x", "ECFIF_leitura_x");
  auto *abre = reinterpret_cast<fn_void *>(s.symbol("ECFIF_leitura_x_com_relat"));
  auto *linha = reinterpret_cast<fn_text *>(s.symbol("ECFIF_imprime_linha"));
  auto *fecha = reinterpret_cast<fn_void *>(s.symbol("ECFIF_fim_relat"));
  if (abre == nullptr || linha == nullptr || fecha == nullptr)
    return report(s, "x", kMissingOperation);
  if (int r = s.ensure_configured(); r != 0) return report(s, "x", r);
  if (int r = s.call(abre); r != 0) return report(s, "x", r);
  for (size_t i = 1; i < args.size(); ++i) {
    if (int r = s.call([&] { return linha(args[i].c_str()); }); r != 0)
      return report(s, "x: report text", r);
  }
  return report(s, "x", s.call(fecha));
}

int cmd_z(Session &s, const std::vector<std::string> &) {
  auto *f = reinterpret_cast<fn_void *>(s.symbol("ECFIF_reducao_z"));
  if (f == nullptr) return report(s, "z", kMissingOperation);
  if (int r = s.ensure_configured(); r != 0) return report(s, "z", r);
  // The wait after the reduction may last long: what is done is on disk.
  SaveWhileWaiting save([&s] { s.sync(); });
  return report(s, "z", s.call(f));
}

constexpr int kSlots = 120;
constexpr size_t kValueSize = 8;

enum class Kind { Date, Count, Money, Percent };

struct Slot {
  int index;
  const char *label;
  Kind kind;
};

constexpr std::array<Slot, 20> kFigures{{
    {0, "date", Kind::Date},
    {1, "COO", Kind::Count},
    {2, "CRO", Kind::Count},
    {3, "CRZ", Kind::Count},
    {4, "cancelled receipts", Kind::Count},
    {19, "initial COO", Kind::Count},
    {6, "grand total", Kind::Money},
    {5, "grand total before the day", Kind::Money},
    {7, "cancellations ICMS", Kind::Money},
    {8, "cancellations ISSQN", Kind::Money},
    {11, "discounts ICMS", Kind::Money},
    {12, "discounts ISSQN", Kind::Money},
    {9, "surcharges ICMS", Kind::Money},
    {10, "surcharges ISSQN", Kind::Money},
    {13, "substitution ICMS", Kind::Money},
    {14, "exempt ICMS", Kind::Money},
    {15, "not taxed ICMS", Kind::Money},
    {16, "substitution ISSQN", Kind::Money},
    {17, "exempt ISSQN", Kind::Money},
    {18, "not taxed ISSQN", Kind::Money},
}};

std::string digits_of(const Session &s, const unsigned char *value) {
  std::array<char, 64> text{};
  s.ops().eight_to_text(text.data(), value);
  return std::string(text.data(), ::strnlen(text.data(), text.size()));
}

std::string shown(std::string d, Kind kind) {
  if (d.empty() || d.find_first_not_of("0123456789") != std::string::npos) return d;
  switch (kind) {
    case Kind::Date:
      while (d.size() < 8) d.insert(d.begin(), '0');
      return d.substr(0, 2) + "/" + d.substr(2, 2) + "/" + d.substr(4);
    case Kind::Count:
      return d;
    case Kind::Money:
      return as_money(d);
    case Kind::Percent:
      return as_money(d) + "%";
  }
  return d;
}

void print_rates(const Session &s, const unsigned char *record, int totals, int percents,
                 const char *tax) {
  for (int i = 0; i < 20; ++i) {
    const std::string pct = digits_of(s, record + static_cast<size_t>(percents + i) * kValueSize);
    if (pct.empty() || pct.find_first_not_of('0') == std::string::npos) continue;
    std::printf(
        "%s %s: %s\n", tax, shown(pct, Kind::Percent).c_str(),
        shown(digits_of(s, record + static_cast<size_t>(totals + i) * kValueSize), Kind::Money)
            .c_str());
  }
}

// z-data: the last reduction's figures, one labelled value a line.
int cmd_z_data(Session &s, const std::vector<std::string> &) {
  auto *f = reinterpret_cast<fn_record *>(s.symbol("ECFIF_le_rz"));
  if (f == nullptr || s.ops().eight_to_text == nullptr)
    return report(s, "z-data", kMissingOperation);
  if (int r = s.ensure_configured(); r != 0) return report(s, "z-data", r);
  std::vector<unsigned char> record(kSlots * kValueSize, 0);
  const int r = s.call([&] { return f(record.data()); });
  if (r != 0) return report(s, "z-data", r);
  for (const Slot &slot : kFigures) {
    const unsigned char *v = record.data() + static_cast<size_t>(slot.index) * kValueSize;
    std::printf("%s: %s\n", slot.label, shown(digits_of(s, v), slot.kind).c_str());
  }
  print_rates(s, record.data(), 40, 60, "ICMS");
  print_rates(s, record.data(), 80, 100, "ISSQN");
  return kExitOk;
}

int cmd_repeat(Session &s, const std::vector<std::string> &) {
  auto *f = reinterpret_cast<fn_void *>(s.symbol("ECFIF_repete"));
  if (f == nullptr) return report(s, "repeat", kMissingOperation);
  const int code = s.globals().o_que_repetir != nullptr ? *s.globals().o_que_repetir : 0;
  const auto m = repeat_meaning(code);
  if (!s.options().quiet) std::printf("repeat: %.*s\n", static_cast<int>(m.size()), m.data());
  // Resending the last command needs no model; the operations do.
  if (code != 0)
    if (int r = s.ensure_configured(); r != 0) return report(s, "repeat", r);
  return report(s, "repeat", s.call(f));
}

bool no_words(const std::vector<std::string> &args) {
  if (args.size() == 1) return true;
  std::fprintf(stderr, "usage: ecfctl %s   (no arguments)\n", args[0].c_str());
  return false;
}

const Registrar kDay{{
    {"open-day", "open-day              open the printer for the day", cmd_open_day, no_words},
    {"verify", "verify                may the printer be used? (16: a Reduction Z is due)",
     cmd_verify, no_words},
    {"x", "x [TEXT]...           Reading X; with texts, a report holding them", cmd_x},
    {"z", "z                     Reduction Z (waits while the printer prints it)", cmd_z, no_words},
    {"z-data", "z-data                the last Reduction Z's figures", cmd_z_data, no_words},
    {"repeat", "repeat                run the interrupted operation again", cmd_repeat, no_words},
}};

}  // namespace
}  // namespace ecfctl
