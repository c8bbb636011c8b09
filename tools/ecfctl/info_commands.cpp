// Information, sensors, drawer, clock and daylight saving.
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ecfbmtc/info.h"
#include "latin1.h"
#include "registry.h"
#include "session.h"

namespace ecfctl {
namespace {

struct Meaning {
  int first, last;  // a code or a range of codes
  std::string_view text;
};

constexpr std::array<Meaning, 46> kMeanings{{
    {1, 1, "value of the open receipt"},
    {2, 2, "paid so far"},
    {3, 3, "left to pay"},
    {20, 20, "grand total at the last Reduction Z"},
    {21, 21, "grand total"},
    {22, 22, "sales since the last Reduction Z"},
    {30, 30, "(fixed)"},
    {31, 31, "variable 14"},
    {32, 32, "serial number"},
    {33, 33, "maker"},
    {34, 34, "model"},
    {35, 35, "detail-tape printer (1) or older (0)"},
    {36, 36, "maker initials"},
    {37, 37, "model letter"},
    {38, 38, "model"},
    {39, 39, "(fixed)"},
    {40, 40, "firmware version"},
    {41, 41, "(fixed)"},
    {42, 42, "taxpayer registrations made"},
    {43, 43, "taxpayer registration (CNPJ)"},
    {44, 44, "state registration (IE)"},
    {45, 45, "header, first line"},
    {46, 46, "header, further lines"},
    {49, 49, "detail-tape memory free (hundredths of a percent)"},
    {51, 51, "document counter (COO)"},
    {52, 52, "COO of the last Reduction Z"},
    {53, 53, "Reductions Z (CRZ)"},
    {54, 54, "fiscal receipts cancelled"},
    {55, 55, "restarts of operation (CRO)"},
    {56, 56, "fiscal receipts (CCF)"},
    {57, 57, "non-fiscal operations (GNF)"},
    {58, 58, "management reports (GRG)"},
    {59, 59, "credit or debit vouchers (CDC)"},
    {61, 61, "national maker code"},
    {62, 62, "national model code"},
    {63, 63, "national firmware version code"},
    {70, 70, "sum of the totals of the last Reduction Z"},
    {100, 100, "non-taxed total (NN)"},
    {110, 110, "tax substitution total (FF)"},
    {120, 120, "exempt total (II)"},
    {200, 229, "total of ICMS rate"},
    {250, 279, "total of ISS rate"},
    {300, 300, "cancellations"},
    {330, 330, "discounts"},
    {360, 360, "surcharges"},
    {0, 0, "(nothing)"},
}};

std::string meaning_of(int code) {
  for (const Meaning &m : kMeanings) {
    if (code < m.first || code > m.last) continue;
    if (m.first == m.last) return std::string(m.text);
    return std::string(m.text) + " " + std::to_string(code - m.first + 1);
  }
  return "unknown code";
}

bool parse_code(const std::string &word, int &code) {
  errno = 0;
  char *end = nullptr;
  const long v = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || errno != 0 || v < -99999 || v > 99999) return false;
  code = static_cast<int>(v);
  return true;
}

bool check_info(const std::vector<std::string> &args) {
  if (args.size() < 2) {
    std::fprintf(stderr, "info: give one or more information codes\n");
    return false;
  }
  for (size_t i = 1; i < args.size(); ++i) {
    int code = 0;
    if (!parse_code(args[i], code)) {
      std::fprintf(stderr, "info: \"%s\" is not a code number\n", args[i].c_str());
      return false;
    }
  }
  return true;
}

template <typename F>
F *operation(const Session &s, const char *name) {
  return reinterpret_cast<F *>(s.symbol(name));
}

// The record an operation left for the host.
std::span<const unsigned char> returned(const Session &s) {
  auto *data = static_cast<const unsigned char *>(s.symbol("ECFIF_retornado"));
  auto *size = static_cast<const int *>(s.symbol("ECFIF_tam_retorno"));
  if (data == nullptr || size == nullptr || *size < 0 || *size > 300) return {};
  return {data, static_cast<size_t>(*size)};
}

int cmd_info(Session &s, const std::vector<std::string> &args) {
  auto *le_info_modo = operation<decltype(ECFIF_le_info_modo)>(s, "ECFIF_le_info_modo");
  if (le_info_modo == nullptr) return report(s, "info", kMissingOperation);
  int exit_code = kExitOk;
  for (size_t i = 1; i < args.size() && !g_interrupted; ++i) {
    int code = 0;
    parse_code(args[i], code);
    std::array<char, ECFIF_TAM_TEXTO_INFO + 1> text{};
    // The first query reads afresh; the others share what it read.
    const int mode = i == 1 ? 1 : 0;
    const int r = s.call([&] { return le_info_modo(text.data(), code, mode); });
    if (r != 0) {
      exit_code = report(s, "info " + args[i], r);
      continue;
    }
    std::printf("%d %s: %s\n", code, meaning_of(code).c_str(), to_utf8(text.data()).c_str());
  }
  return exit_code;
}

int cmd_sensors(Session &s, const std::vector<std::string> &) {
  auto *le_sensores = operation<decltype(ECFIF_le_sensores)>(s, "ECFIF_le_sensores");
  if (le_sensores == nullptr) return report(s, "sensors", kMissingOperation);
  const int r = s.call([&] { return le_sensores(); });
  const auto record = returned(s);
  if (r != 0 || record.size() < 5) return report(s, "sensors", r != 0 ? r : 30);
  std::printf("drawer: %s\n", record[0] ? "open" : "closed");
  std::printf("paper end: %s\n", record[1] ? "yes" : "no");
  std::printf("sensor of variable 20: %s\n", record[3] ? "on" : "off");
  return kExitOk;
}

int cmd_drawer(Session &s, const std::vector<std::string> &) {
  auto *abre = operation<decltype(ECFIF_abre_gaveta)>(s, "ECFIF_abre_gaveta");
  auto *le = operation<decltype(ECFIF_le_selec_sensores)>(s, "ECFIF_le_selec_sensores");
  if (abre == nullptr || le == nullptr) return report(s, "drawer", kMissingOperation);
  if (const int r = s.call([&] { return abre(); }); r != 0) return report(s, "drawer", r);
  constexpr int kDrawerSensor = 2;
  const int r = s.call([&] { return le(kDrawerSensor); });
  const auto record = returned(s);
  if (r != 0 || record.empty()) return report(s, "drawer state", r != 0 ? r : 30);
  std::printf("drawer: %s\n", record[0] ? "open" : "closed");
  return kExitOk;
}

int bcd(unsigned char b) {
  return (b >> 4) * 10 + (b & 0x0F);
}

// The printer's clock as seconds, to compare with this computer's.
long long clock_seconds(std::span<const unsigned char> r) {
  std::tm t{};
  t.tm_mday = bcd(r[0]);
  t.tm_mon = bcd(r[1]) - 1;
  t.tm_year = bcd(r[2]) * 100 + bcd(r[3]) - 1900;
  t.tm_hour = bcd(r[4]);
  t.tm_min = bcd(r[5]);
  t.tm_sec = bcd(r[6]);
  t.tm_isdst = -1;
  return static_cast<long long>(std::mktime(&t));
}

bool check_clock(const std::vector<std::string> &args) {
  if (args.size() == 1 || (args.size() == 2 && args[1] == "--set")) return true;
  std::fprintf(stderr, "clock: use \"clock\" or \"clock --set\"\n");
  return false;
}

int cmd_clock(Session &s, const std::vector<std::string> &args) {
  auto *le_relogio = operation<decltype(ECFIF_le_relogio)>(s, "ECFIF_le_relogio");
  if (le_relogio == nullptr) return report(s, "clock", kMissingOperation);
  const int r = s.call([&] { return le_relogio(); });
  const auto rec = returned(s);
  if (r != 0 || rec.size() < 8) return report(s, "clock", r != 0 ? r : 30);
  std::printf("%02x/%02x/%02x%02x %02x:%02x:%02x, daylight saving %s\n", rec[0], rec[1], rec[2],
              rec[3], rec[4], rec[5], rec[6], rec[7] ? "on" : "off");
  if (args.size() < 2) return kExitOk;

  const long long ahead = clock_seconds(rec) - static_cast<long long>(std::time(nullptr));
  std::printf("the printer is %lld s %s this computer\n", ahead < 0 ? -ahead : ahead,
              ahead < 0 ? "behind" : "ahead of");
  // These printers take a new time only with a Reduction Z.
  std::fprintf(stderr,
               "clock --set: the printer sets its clock only at a Reduction Z run with the driver "
               "option ECFBEMATECH_ACERTA_RELOGIO (at most 293 s at a time)\n");
  return kExitRefused;
}

bool check_dst(const std::vector<std::string> &args) {
  if (args.size() == 2 && (args[1] == "on" || args[1] == "off")) return true;
  std::fprintf(stderr, "dst: use \"dst on\" or \"dst off\"\n");
  return false;
}

int cmd_dst(Session &s, const std::vector<std::string> &args) {
  const bool on = args[1] == "on";
  auto *f = on ? operation<decltype(ECFIF_entra_verao)>(s, "ECFIF_entra_verao")
               : operation<decltype(ECFIF_sai_verao)>(s, "ECFIF_sai_verao");
  const std::string label = "dst " + args[1];
  if (f == nullptr) return report(s, label, kMissingOperation);
  return report(s, label, s.call([&] { return f(); }));
}

const Registrar kInfo{{
    {"info", "info CODE...          information codes, one line each with its meaning", cmd_info,
     check_info},
    {"sensors", "sensors               the printer's sensors", cmd_sensors},
    {"drawer", "drawer                open the cash drawer and show its state", cmd_drawer},
    {"clock", "clock [--set]         the printer's clock (--set: how to set it)", cmd_clock,
     check_clock},
    {"dst", "dst on|off            daylight saving time on or off", cmd_dst, check_dst},
}};

}  // namespace
}  // namespace ecfctl
