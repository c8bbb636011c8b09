// Printer variables (command 35) and the small settings commands: status,
// drawer, daylight saving, tax rates and payment methods.
#include <array>
#include <cstdio>
#include <utility>

#include "core/printer_state.h"

namespace ecfsim {
namespace {

constexpr std::array<std::pair<uint8_t, uint16_t>, 71> kVariableSizes{{
    {0, 15},    {1, 2},     {2, 33},   {3, 9},    {4, 7},    {5, 7},    {6, 3},    {7, 3},
    {8, 2},     {9, 2},     {10, 2},   {11, 2},   {12, 2},   {13, 186}, {14, 2},   {15, 2},
    {16, 2},    {17, 1},    {18, 2},   {19, 2},   {20, 1},   {21, 1},   {22, 7},   {23, 6},
    {24, 9},    {25, 171},  {26, 6},   {27, 3},   {28, 1},   {29, 2},   {30, 7},   {31, 3},
    {32, 1925}, {33, 1550}, {34, 600}, {40, 20},  {41, 3},   {42, 20},  {43, 20},  {44, 20},
    {45, 2},    {46, 2},    {47, 60},  {48, 570}, {49, 620}, {50, 780}, {51, 570}, {52, 2},
    {53, 2},    {54, 3},    {55, 3},   {56, 3},   {57, 2},   {58, 20},  {59, 2},   {60, 42},
    {61, 6},    {62, 10},   {63, 10},  {64, 6},   {65, 1},   {66, 7},   {67, 3},   {68, 9},
    {70, 2},    {71, 2},    {72, 6},   {73, 18},  {74, 1},   {75, 1},   {253, 3},
}};

// Variables only the detail-tape models have; the older ones refuse them,
// which is how a reader tells the generations apart.
constexpr std::array<uint8_t, 12> kMfdOnlyVariables{40, 41, 42, 43, 49, 50, 52, 54, 55, 59, 60, 61};

int variable_size(uint8_t v) {
  for (const auto &[var, size] : kVariableSizes) {
    if (var == v) return size;
  }
  return -1;
}

bool mfd_only(uint8_t v) {
  for (uint8_t m : kMfdOnlyVariables) {
    if (m == v) return true;
  }
  return false;
}

std::string serial_number(const State &s) {
  return std::string(s.model->serial_prefix) + "0000000000000001";
}

// A firmware version each model really shipped with.
std::string firmware_version(int code) {
  switch (code) {
    case 6:
    case 8:
    case 9:
    case 11:
    case 13:
      return std::string("\x01\x00\x00", 3);
    case 14:
      return std::string("\x01\x01\x02", 3);
    default:
      return std::string("\x01\x00\x01", 3);
  }
}

// The rebadged models carry their seller's name as the maker.
std::string_view maker_of(int code) {
  switch (code) {
    case 8:
      return "UNISYS";
    case 9:
    case 10:
      return "IBM";
    default:
      return "BEMATECH";
  }
}

uint8_t flags(const State &s) {
  uint8_t f = 0;
  if (s.doc.kind == Doc::Fiscal) {
    f |= 1;
    if (s.doc.totalled) f |= 2;
  }
  if (s.daylight) f |= 4;
  const bool memory_full = fiscal_memory_full(s);
  if (s.doc.kind == Doc::None && (reduction_due(s) || memory_full)) f |= 8;
  if (s.previous_cancellable) f |= 32;
  if (memory_full) f |= 128;
  return f;
}

std::string clock_bcd(const State &s) {
  const Civil c = civil_from_seconds(now(s));
  std::string out;
  for (int v : {c.day, c.month, c.year % 100, c.hour, c.minute, c.second}) {
    out.push_back(static_cast<char>((v / 10) << 4 | v % 10));
  }
  return out;
}

std::string names_table(const std::vector<std::string> &names, size_t count, size_t stride) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    std::string field(stride, '\0');
    if (i < names.size() && !names[i].empty()) {
      const std::string n = pad_right(names[i], 16);
      field.replace(0, 16, n);
    }
    out += field;
  }
  return out;
}

std::string variable_value(const State &s, uint8_t v) {
  const Counters &k = s.counters;
  switch (v) {
    case 0:
      return pad_right(serial_number(s), 15);
    case 1:
      return std::string("\x03\x10", 2);
    case 2:
      return pad_right(s.settings.cnpj, 18) + pad_right(s.settings.ie, 15);
    case 3:
      return bcd(static_cast<uint64_t>(s.grand_total), 9);
    case 4:
      return bcd(static_cast<uint64_t>(s.day.cancel_icms + s.day.cancel_iss), 7);
    case 5:
      return bcd(static_cast<uint64_t>(s.day.discount_icms + s.day.discount_iss), 7);
    case 6:
      return bcd(k.coo, 3);
    case 7:
      return bcd(k.gnf, 3);
    case 8:
      return bcd(k.cfc, 2);
    case 9:
      return bcd(k.crz, 2);
    case 10:
      return bcd(k.cro, 2);
    case 11:
      return bcd(s.settings.owner, 2);
    case 13: {
      std::string h = s.settings.header;
      if (!h.empty()) h.push_back('\n');
      return h;
    }
    case 14:
      return std::string("\x00\x01", 2);
    case 16:
      return "01";
    case 17:
      return std::string(1, static_cast<char>(flags(s)));
    case 20:
      return std::string(1, '\0');
    case 22:
      return bcd(static_cast<uint64_t>(s.doc.kind == Doc::Fiscal ? s.doc.paid : 0), 7);
    case 23:
      return clock_bcd(s);
    case 27:
      return std::string(s.day_date.begin(), s.day_date.end());
    case 28:
      return std::string(1, static_cast<char>(s.settings.multiplication_mode));
    case 29:
      return std::string{static_cast<char>(s.settings.iss_flags >> 8),
                         static_cast<char>(s.settings.iss_flags & 0xFF)};
    case 30:
      return bcd(static_cast<uint64_t>(s.day.surcharge_icms + s.day.surcharge_iss), 7);
    case 31:
      return bcd(0, 3);  // no bus tickets on these models
    case 32: {
      std::string out(1, static_cast<char>(s.settings.payment_methods.size()));
      return out + names_table(s.settings.payment_methods, kMaxPaymentMethodsOlder, 16);
    }
    case 33: {
      std::string out(12, '\0');
      return out + names_table(s.settings.nonfiscal_names, kMaxPaymentMethodsOlder, 31);
    }
    case 40:
      return pad_right(serial_number(s), 20);
    case 41:
      return firmware_version(s.model->code);
    case 42:
      return pad_right(s.settings.cnpj, 20);
    case 43:
      return pad_right(s.settings.ie, 20);
    case 49: {
      std::string out = names_table(s.settings.payment_methods, kMaxPaymentMethodsMfd, 16);
      for (int i = 0; i < kMaxPaymentMethodsMfd; ++i) {
        out += bcd(static_cast<uint64_t>(s.day.by_method[static_cast<size_t>(i)]), 7);
      }
      return out;
    }
    case 50: {
      std::string out = names_table(s.settings.nonfiscal_names, kNonFiscalTotalizers, 19);
      for (Money m : s.day.nonfiscal) out += bcd(static_cast<uint64_t>(m), 7);
      return out;
    }
    case 52:
      return bcd(k.cdc, 2);
    case 54:
      return bcd(k.grg, 3);
    case 55:
      return bcd(k.ccf, 3);
    case 56:
      return bcd(1, 3);  // detail tapes used
    case 58:
      return pad_right(s.settings.im, 20);
    case 59: {
      const size_t left =
          s.fiscal_memory_capacity() - std::min(s.fiscal_memory.size(), s.fiscal_memory_capacity());
      return bcd(left, 2);
    }
    case 60:
      return pad_right(maker_of(s.model->code), 15) + pad_right(s.model->reported_name, 20) +
             pad_right("ECF-IF", 7);
    case 61: {
      // Detail-tape memory used, as "uu,uu%" of its size.
      const unsigned used = std::min(9999u, k.coo / 100);
      char buf[128];
      std::snprintf(buf, sizeof buf, "%02u,%02u%%", used / 100, used % 100);
      return std::string(buf, 6);
    }
    default:
      return {};
  }
}

}  // namespace

Reply read_variable(State &s, std::string_view args) {
  if (args.size() != 1) return bad_count();
  const auto v = static_cast<uint8_t>(args[0]);
  const int size = variable_size(v);
  if (size < 0) return bad_param();
  if (!s.mfd() && mfd_only(v)) {
    Reply r = bad_param();
    r.data = zeros(static_cast<size_t>(size));
    r.layout = Layout::DataFirst;
    return r;
  }
  std::string value = variable_value(s, v);
  value.resize(static_cast<size_t>(size), '\0');
  return ok(std::move(value), Layout::DataFirst);
}

Reply status_read(State &) {
  return ok();
}

Reply open_drawer(State &s, std::string_view args) {
  if (args.size() > 1) return bad_count();
  s.drawer_open = true;
  return ok();
}

// The drawer reads open once after it was opened; then the operator has
// shut it.
Reply drawer_sensor(State &s) {
  const char v = s.drawer_open ? 1 : 0;
  s.drawer_open = false;
  return ok(std::string(1, v), Layout::DataFirst);
}

Reply toggle_daylight(State &s) {
  if (s.day_date != std::array<uint8_t, 3>{} || s.doc.kind != Doc::None)
    return refuse(0, 0, exec::kDaylightOnlyAfterReduction);
  s.daylight = !s.daylight;
  s.clock_offset += s.daylight ? 3600 : -3600;
  return ok();
}

Reply read_rates(State &s) {
  std::string out;
  int programmed = 0;
  for (uint16_t r : s.settings.rates) {
    if (r) ++programmed;
    out += bcd(r, 2);
  }
  return ok(bcd(static_cast<uint64_t>(programmed), 1) + out, Layout::DataFirst);
}

// Command 7: four digits of percent (two decimals), then "1" for a service
// tax rate. Only while the day has no movement.
Reply program_rate(State &s, std::string_view args) {
  if (args.size() != 4 && args.size() != 5) return bad_count();
  int64_t pct = 0;
  if (!parse_digits(args.substr(0, 4), pct) || pct == 0) return bad_param();
  const bool iss = args.size() == 5 && args[4] == '1';
  if (args.size() == 5 && args[4] != '0' && args[4] != '1') return bad_param();
  if (s.day_date != std::array<uint8_t, 3>{} || s.doc.kind != Doc::None) return refuse(0, 0);
  for (int i = 0; i < kRates; ++i) {
    auto &r = s.settings.rates[static_cast<size_t>(i)];
    if (r == 0) {
      r = static_cast<uint16_t>(pct);
      if (iss) s.settings.iss_flags |= static_cast<uint16_t>(1u << (15 - i));
      return ok();
    }
  }
  return refuse(0, st2::kRateTableFull);
}

Reply program_payment_method(State &s, std::string_view args) {
  if (args.empty() || args.size() > 16) return bad_count();
  const std::string name = trim(args);
  if (name.empty()) return bad_param();
  auto answer = [](size_t n) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%02zu", n % 100);
    return ok(std::string(buf, 2), Layout::DataFirst);
  };
  auto &methods = s.settings.payment_methods;
  for (size_t i = 0; i < methods.size(); ++i) {
    if (trim(methods[i]) == name) return answer(i + 1);
  }
  if (methods.size() >= static_cast<size_t>(s.max_payment_methods())) return bad_param();
  methods.push_back(name);
  return answer(methods.size());
}

}  // namespace ecfsim
