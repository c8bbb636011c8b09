// Numbers, clock and counters the command families share.
#include <cstdio>
#include <ctime>

#include "core/printer_state.h"

namespace ecfsim {

Reply ok(std::string data, Layout layout) {
  Reply r;
  r.data = std::move(data);
  r.layout = layout;
  return r;
}

Reply refuse(uint8_t st1_bits, uint8_t st2_bits, uint16_t exec_status) {
  Reply r;
  r.st1 = st1_bits;
  r.st2 = static_cast<uint8_t>(st2_bits | st2::kNotExecuted);
  r.exec_status = exec_status;
  return r;
}

bool parse_digits(std::string_view s, int64_t &out) {
  if (s.empty() || s.size() > 18) return false;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  out = v;
  return true;
}

std::string bcd(uint64_t value, int bytes) {
  std::string out(static_cast<size_t>(bytes), '\0');
  for (int i = bytes - 1; i >= 0; --i) {
    const unsigned lo = value % 10;
    value /= 10;
    const unsigned hi = value % 10;
    value /= 10;
    out[static_cast<size_t>(i)] = static_cast<char>(hi << 4 | lo);
  }
  return out;
}

uint64_t from_bcd(std::string_view bytes) {
  uint64_t v = 0;
  for (char c : bytes) {
    const auto u = static_cast<uint8_t>(c);
    v = v * 100 + (u >> 4) % 10 * 10 + (u & 15) % 10;
  }
  return v;
}

std::string money_text(Money cents) {
  char buf[128];
  const char *sign = cents < 0 ? "-" : "";
  const long long a = cents < 0 ? -cents : cents;
  std::snprintf(buf, sizeof buf, "%s%lld,%02lld", sign, a / 100, a % 100);
  return buf;
}

std::string trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\0')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\0')) --e;
  return std::string(s.substr(b, e - b));
}

std::string pad_right(std::string_view s, size_t width) {
  std::string out(s.substr(0, width));
  out.resize(width, ' ');
  return out;
}

std::string zeros(size_t n) {
  return std::string(n, '\0');
}

int64_t now(const State &s) {
  int64_t base;
  if (s.config.clock) {
    base = s.config.clock();
  } else {
    const time_t t = time(nullptr);
    struct tm lt {};
    localtime_r(&t, &lt);
    base = static_cast<int64_t>(t) + lt.tm_gmtoff;
  }
  return base + s.config.clock_offset_s + s.clock_offset;
}

int64_t days_from_civil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Civil civil_from_seconds(int64_t t) {
  int64_t days = t / 86400;
  int64_t rem = t % 86400;
  if (rem < 0) {
    rem += 86400;
    --days;
  }
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int y = static_cast<int>(yoe + era * 400 + (m <= 2));
  return Civil{y,
               m,
               d,
               static_cast<int>(rem / 3600),
               static_cast<int>(rem / 60 % 60),
               static_cast<int>(rem % 60)};
}

std::array<uint8_t, 3> bcd_date(const Civil &c) {
  auto b = [](int v) { return static_cast<uint8_t>((v / 10 % 10) << 4 | v % 10); };
  return {b(c.day), b(c.month), b(c.year % 100)};
}

std::string date_text(const std::array<uint8_t, 3> &d) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%02X/%02X/20%02X", d[0], d[1], d[2]);
  return buf;
}

uint32_t next_coo(State &s) {
  s.counters.coo = s.counters.coo >= 999999 ? 1 : s.counters.coo + 1;
  s.previous_cancellable = false;
  return s.counters.coo;
}

void begin_movement(State &s) {
  if (s.day_date == std::array<uint8_t, 3>{}) s.day_date = bcd_date(civil_from_seconds(now(s)));
}

bool reduction_due(const State &s) {
  if (s.day_date == std::array<uint8_t, 3>{}) return false;
  const auto num = [](uint8_t b) { return (b >> 4) * 10 + (b & 15); };
  const int64_t movement =
      days_from_civil(2000 + num(s.day_date[2]), num(s.day_date[1]), num(s.day_date[0]));
  const Civil c = civil_from_seconds(now(s));
  const int64_t today = days_from_civil(c.year, c.month, c.day);
  const int64_t d = today - movement;
  return d >= 2 || (d == 1 && c.hour >= 2);
}

bool fiscal_memory_full(const State &s) {
  return s.faults.fiscal_memory_full || s.fiscal_memory.size() >= s.fiscal_memory_capacity();
}

bool is_iss(const State &s, int bucket) {
  if (bucket < kRates) return (s.settings.iss_flags >> (15 - bucket)) & 1;
  return bucket >= kSF;
}

Money subtotal(const OpenDoc &d) {
  Money t = 0;
  for (const auto &it : d.items) {
    if (!it.cancelled) t += it.amount - it.discount + it.surcharge;
  }
  for (const auto &r : d.registrations) t += r.second;
  return t - d.subtotal_discount + d.subtotal_surcharge;
}

std::vector<Payment> net_payments(const OpenDoc &d) {
  std::vector<Payment> out = d.payments;
  const Money change = d.paid - subtotal(d);
  if (change > 0 && !out.empty()) out.back().amount -= change;
  return out;
}

void print_header(State &s, std::string_view title, uint32_t coo) {
  Paper &p = s.paper;
  size_t start = 0;
  const std::string &h = s.settings.header;
  while (start < h.size()) {
    size_t end = h.find('\n', start);
    if (end == std::string::npos) end = h.size();
    p.center(h.substr(start, end - start));
    start = end + 1;
  }
  p.line("CNPJ:" + s.settings.cnpj);
  p.line("IE:" + s.settings.ie);
  p.rule();
  const Civil c = civil_from_seconds(now(s));
  char left[128], right[64];
  std::snprintf(left, sizeof left, "%02d/%02d/%04d %02d:%02d:%02d", c.day, c.month, c.year, c.hour,
                c.minute, c.second);
  std::snprintf(right, sizeof right, "COO:%06u", coo);
  p.pair(left, right);
  p.center(title);
}

void print_footer(State &s) {
  Paper &p = s.paper;
  p.rule();
  char buf[128];
  std::snprintf(buf, sizeof buf, "%s ECF-IF", std::string(s.model->reported_name).c_str());
  p.line(buf);
  p.pair("FAB:" + std::string(s.model->serial_prefix) + "0000000000000001", "BR");
  p.blank();
}

}  // namespace ecfsim
