// Reading X, Reduction Z, the fiscal memory and the totals reads.
#include <cstdio>

#include "core/printer_state.h"

namespace ecfsim {
namespace {

std::string u(uint64_t v, const char *fmt) {
  char buf[128];
  std::snprintf(buf, sizeof buf, fmt, static_cast<unsigned long long>(v));
  return buf;
}

std::string bucket_name(const std::array<uint16_t, kRates> &rates, uint16_t iss, int b) {
  static constexpr const char *kFixed[] = {"F1 substituicao",  "I1 isento",  "N1 nao incid.",
                                           "FS1 substituicao", "IS1 isento", "NS1 nao incid."};
  if (b >= kRates) return kFixed[b - kRates];
  char buf[128];
  const unsigned r = rates[static_cast<size_t>(b)];
  std::snprintf(buf, sizeof buf, "%02d %s%02u,%02u%%", b + 1, (iss >> (15 - b)) & 1 ? "S" : "T",
                r / 100, r % 100);
  return buf;
}

Money gross(const DayTotals &d) {
  Money g = d.cancel_icms + d.cancel_iss + d.discount_icms + d.discount_iss + d.surcharge_icms +
            d.surcharge_iss;
  for (Money m : d.buckets) g += m;
  return g;
}

// The body shared by the Reading X, the Reduction Z and its streamed form.
void day_report(const State &s, Paper &p, const DayTotals &d, const Counters &k, Money gt,
                const std::array<uint16_t, kRates> &rates, uint16_t iss) {
  p.center("CONTADORES");
  p.pair("Contador de ordem de operacao COO:", u(k.coo, "%06llu"));
  p.pair("Geral de operacao nao fiscal GNF:", u(k.gnf, "%06llu"));
  p.pair("Contador de cupom fiscal CCF:", u(k.ccf, "%06llu"));
  p.pair("Relatorio gerencial GRG:", u(k.grg, "%06llu"));
  p.pair("Comprovante credito/debito CDC:", u(k.cdc, "%06llu"));
  p.pair("Cupom fiscal cancelado CFC:", u(k.cfc, "%04llu"));
  p.pair("Reducoes Z CRZ:", u(k.crz, "%04llu"));
  p.pair("Reinicio de operacao CRO:", u(k.cro, "%04llu"));
  p.center("TOTALIZADORES");
  p.pair("Grande total GT:", money_text(gt));
  p.pair("Venda bruta diaria:", money_text(gross(d)));
  p.pair("Cancelamento ICMS:", money_text(d.cancel_icms));
  p.pair("Desconto ICMS:", money_text(d.discount_icms));
  p.pair("Acrescimo ICMS:", money_text(d.surcharge_icms));
  p.pair("Cancelamento ISSQN:", money_text(d.cancel_iss));
  p.pair("Desconto ISSQN:", money_text(d.discount_iss));
  p.pair("Acrescimo ISSQN:", money_text(d.surcharge_iss));
  p.center("TOTALIZADORES PARCIAIS");
  for (int b = 0; b < kBuckets; ++b) {
    if (b < kRates && rates[static_cast<size_t>(b)] == 0) continue;
    p.pair(bucket_name(rates, iss, b), money_text(d.buckets[static_cast<size_t>(b)]));
  }
  p.pair("Sangria:", money_text(d.withdrawal));
  p.pair("Suprimento:", money_text(d.entry));
  for (size_t i = 0; i < d.nonfiscal.size(); ++i) {
    if (d.nonfiscal[i])
      p.pair("Nao fiscal " + u(i + 1, "%02llu") + ":", money_text(d.nonfiscal[i]));
  }
  for (size_t i = 0; i < s.settings.payment_methods.size(); ++i) {
    if (d.by_method[i]) p.pair(s.settings.payment_methods[i] + ":", money_text(d.by_method[i]));
  }
}

std::string lines_of(const State &s, std::string_view title) {
  std::string out;
  Paper p(
      [&out](std::string_view l) {
        out.append(l);
        out.push_back('\n');
      },
      s.columns());
  p.center(title);
  day_report(s, p, s.day, s.counters, s.grand_total, s.settings.rates, s.settings.iss_flags);
  return out;
}

bool parse_clock(std::string_view a, Civil &c) {
  if (a.size() == 13) {
    if (a[6] != ' ') return false;
    std::string t(a.substr(0, 6));
    t.append(a.substr(7));
    return parse_clock(t, c);
  }
  if (a.size() != 12) return false;
  int v[6];
  for (int i = 0; i < 6; ++i) {
    int64_t n = 0;
    if (!parse_digits(a.substr(static_cast<size_t>(2 * i), 2), n)) return false;
    v[i] = static_cast<int>(n);
  }
  c = Civil{2000 + v[2], v[1], v[0], v[3], v[4], v[5]};
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= kDays[c.month - 1] &&
         c.hour < 24 && c.minute < 60 && c.second < 60 &&
         !(c.month == 2 && c.day == 29 && c.year % 4 != 0);
}

int64_t day_number(const std::array<uint8_t, 3> &d) {
  const auto n = [](uint8_t b) { return (b >> 4) * 10 + (b & 15); };
  return days_from_civil(2000 + n(d[2]), n(d[1]), n(d[0]));
}

std::string bcd7(Money m) {
  return bcd(static_cast<uint64_t>(m < 0 ? 0 : m), 7);
}

void fiscal_memory_lines(Paper &p, const ReductionRecord &r, bool full) {
  p.pair("CRZ:" + u(r.crz, "%04llu") + " COO:" + u(r.coo, "%06llu"), "Data: " + date_text(r.day));
  if (!full) {
    p.pair("  Venda bruta:", money_text(gross(r.totals)));
    return;
  }
  p.pair("  GT:", money_text(r.grand_total));
  p.pair("  Venda bruta:", money_text(gross(r.totals)));
  for (int b = 0; b < kBuckets; ++b) {
    if (b < kRates && r.rates[static_cast<size_t>(b)] == 0) continue;
    p.pair("  " + bucket_name(r.rates, r.iss_flags, b),
           money_text(r.totals.buckets[static_cast<size_t>(b)]));
  }
  p.pair("  Cancelamentos:", money_text(r.totals.cancel_icms + r.totals.cancel_iss));
  p.pair("  Descontos:", money_text(r.totals.discount_icms + r.totals.discount_iss));
  p.pair("  Acrescimos:", money_text(r.totals.surcharge_icms + r.totals.surcharge_iss));
}

}  // namespace

Reply reading_x(State &s) {
  if (s.doc.kind != Doc::None) return refuse(0, 0);
  const uint32_t coo = next_coo(s);
  s.counters.gnf = (s.counters.gnf + 1) % 1000000;
  print_header(s, "LEITURA X", coo);
  day_report(s, s.paper, s.day, s.counters, s.grand_total, s.settings.rates, s.settings.iss_flags);
  print_footer(s);
  return ok();
}

Reply reading_x_stream(State &s) {
  if (s.doc.kind != Doc::None) {
    Reply r = refuse(0, 0);
    r.layout = Layout::Stream;
    return r;
  }
  return ok(lines_of(s, "LEITURA X"), Layout::Stream);
}

Reply reduction_z(State &s, std::string_view args) {
  Civil set{};
  if (!args.empty() && !parse_clock(args, set)) {
    return args.size() == 12 || args.size() == 13 ? bad_param() : bad_count();
  }
  if (fiscal_memory_full(s)) return refuse(0, st2::kFiscalMemoryFull);
  const int64_t wanted = args.empty() ? now(s)
                                      : days_from_civil(set.year, set.month, set.day) * 86400 +
                                            set.hour * 3600 + set.minute * 60 + set.second;
  // The day is already reduced: nothing has happened since this date's
  // reduction. A repeated reduction finds its work done.
  if (s.day_date == std::array<uint8_t, 3>{} && s.doc.kind == Doc::None &&
      !s.fiscal_memory.empty()) {
    const auto &last = s.fiscal_memory.back().made_at;
    const auto today = bcd_date(civil_from_seconds(wanted));
    if (last[0] == today[0] && last[1] == today[1] && last[2] == today[2])
      return refuse(0, 0, exec::kAwaitingReduction);
  }
  s.clock_offset += wanted - now(s);
  cancel_open_document(s);
  const Civil c = civil_from_seconds(now(s));
  const uint32_t coo = next_coo(s);
  s.counters.crz = static_cast<uint16_t>((s.counters.crz + 1) % 10000);

  ReductionRecord r;
  r.crz = s.counters.crz;
  r.cro = s.counters.cro;
  r.coo = coo;
  r.gnf = s.counters.gnf;
  r.ccf = s.counters.ccf;
  r.cfc = s.counters.cfc;
  r.cdc = static_cast<uint16_t>(s.counters.cdc % 10000);
  r.day = s.day_date == std::array<uint8_t, 3>{} ? bcd_date(c) : s.day_date;
  const auto made = bcd_date(c);
  r.made_at = {made[0],
               made[1],
               made[2],
               static_cast<uint8_t>((c.hour / 10) << 4 | c.hour % 10),
               static_cast<uint8_t>((c.minute / 10) << 4 | c.minute % 10),
               static_cast<uint8_t>((c.second / 10) << 4 | c.second % 10)};
  r.grand_total = s.grand_total;
  r.rates = s.settings.rates;
  r.iss_flags = s.settings.iss_flags;
  r.totals = s.day;
  s.fiscal_memory.push_back(r);

  print_header(s, "REDUCAO Z", coo);
  s.paper.pair("Movimento do dia:", date_text(r.day));
  day_report(s, s.paper, s.day, s.counters, s.grand_total, s.settings.rates, s.settings.iss_flags);
  print_footer(s);

  s.day = DayTotals{};
  s.day_date = {};
  s.linkable.clear();
  s.last_linked_text.clear();
  s.previous_cancellable = false;
  Reply reply = ok();
  if (s.mfd()) reply.busy_ms = s.config.reduction_busy_ms;
  return reply;
}

// Command 8: 12 digits of range (two dates DDMMYY, or "00" + four digits
// twice for reductions) and the letter: I/i printed, R/r streamed.
Reply fiscal_memory_reading(State &s, std::string_view args) {
  if (args.size() != 13) return bad_count();
  const char letter = args[12];
  const bool stream = letter == 'R' || letter == 'r';
  auto fail = [stream](Reply r) {
    if (stream) r.layout = Layout::Stream;
    return r;
  };
  if (!stream && letter != 'I' && letter != 'i') return bad_param();
  const bool full = letter == 'I' || letter == 'R';
  int64_t a = 0, b = 0;
  if (!parse_digits(args.substr(0, 6), a) || !parse_digits(args.substr(6, 6), b))
    return fail(bad_param());
  const bool by_reduction = args.substr(0, 2) == "00" && args.substr(6, 2) == "00";
  std::array<uint8_t, 3> from{}, to{};
  if (!by_reduction) {
    Civil x{}, y{};
    if (!parse_clock(std::string(args.substr(0, 6)) + "000000", x) ||
        !parse_clock(std::string(args.substr(6, 6)) + "000000", y))
      return fail(bad_param());
    from = bcd_date(x);
    to = bcd_date(y);
    if (day_number(from) > day_number(to)) return fail(bad_param());
  } else if (a > b) {
    return fail(bad_param());
  }
  if (s.doc.kind != Doc::None) return fail(refuse(0, 0));

  std::string text;
  Paper collected(
      [&text](std::string_view l) {
        text.append(l);
        text.push_back('\n');
      },
      s.columns());
  Paper &p = stream ? collected : s.paper;
  if (!stream) {
    const uint32_t coo = next_coo(s);
    s.counters.gnf = (s.counters.gnf + 1) % 1000000;
    print_header(s, "LEITURA DA MEMORIA FISCAL", coo);
  } else {
    p.center("LEITURA DA MEMORIA FISCAL");
  }
  p.center(full ? "COMPLETA" : "SIMPLIFICADA");
  Money period = 0;
  int count = 0;
  for (const auto &r : s.fiscal_memory) {
    const bool in = by_reduction ? (r.crz >= a && r.crz <= b)
                                 : (day_number(r.day) >= day_number(from) &&
                                    day_number(r.day) <= day_number(to));
    if (!in) continue;
    fiscal_memory_lines(p, r, full);
    period += gross(r.totals);
    ++count;
  }
  if (count == 0) p.center("NENHUMA REDUCAO NO PERIODO");
  p.pair("Venda bruta do periodo:", money_text(period));
  if (!stream) {
    print_footer(s);
    return ok();
  }
  return ok(std::move(text), Layout::Stream);
}

Reply totalizers(State &s) {
  std::string out;
  for (int b = 0; b < kRates; ++b) out += bcd7(s.day.buckets[static_cast<size_t>(b)]);
  out += bcd7(s.day.buckets[kII]) + bcd7(s.day.buckets[kNN]) + bcd7(s.day.buckets[kFF]);
  for (size_t i = 0; i < 9; ++i) out += bcd7(s.day.nonfiscal[i]);
  out += bcd7(s.day.withdrawal) + bcd7(s.day.entry);
  out += bcd(static_cast<uint64_t>(s.grand_total), 9);
  return ok(std::move(out), Layout::DataFirst);
}

Reply day_totals(State &s) {
  const DayTotals &d = s.day;
  std::string out = bcd(static_cast<uint64_t>(s.grand_total), 9);
  for (int b = 0; b < kRates; ++b) out += bcd7(d.buckets[static_cast<size_t>(b)]);
  out += bcd7(d.buckets[kII]) + bcd7(d.buckets[kNN]) + bcd7(d.buckets[kFF]);
  out += bcd(s.counters.coo, 3) + bcd(s.counters.gnf, 3) + bcd(s.counters.ccf, 3) +
         bcd(s.counters.crz, 2) + std::string(1, '\0');
  out += bcd7(d.discount_icms) + bcd7(d.surcharge_icms) + bcd7(d.cancel_icms);
  out += bcd7(d.discount_iss) + bcd7(d.surcharge_iss) + bcd7(d.cancel_iss);
  out += bcd7(d.buckets[kSI]) + bcd7(d.buckets[kSN]) + bcd7(d.buckets[kSF]);
  out += bcd7(d.withdrawal) + bcd7(d.entry);
  for (size_t i = 0; i < 29; ++i) out += bcd7(d.nonfiscal[i]);
  return ok(std::move(out), Layout::DataFirst);
}

Reply reduction_data(State &s) {
  ReductionRecord r;
  if (!s.fiscal_memory.empty()) r = s.fiscal_memory.back();
  const DayTotals &d = r.totals;
  std::string out(1, '\0');
  out += bcd(r.crz, 2) + bcd(r.cro, 2) + bcd(r.coo, 3) + bcd(r.gnf, 3) + bcd(r.ccf, 3) + bcd(0, 3) +
         bcd(r.cdc, 3) + bcd(0, 2) + bcd(r.cfc, 2);
  for (size_t i = 0; i < 18; ++i) out += bcd7(d.nonfiscal[i]);
  out += bcd(static_cast<uint64_t>(r.grand_total), 9);
  for (int b = 0; b < kRates; ++b) out += bcd7(d.buckets[static_cast<size_t>(b)]);
  out += bcd7(d.buckets[kII]) + bcd7(d.buckets[kNN]) + bcd7(d.buckets[kFF]);
  out += bcd7(d.buckets[kSI]) + bcd7(d.buckets[kSN]) + bcd7(d.buckets[kSF]);
  out += bcd7(d.discount_icms) + bcd7(d.discount_iss) + bcd7(d.cancel_icms) + bcd7(d.cancel_iss) +
         bcd7(d.surcharge_icms) + bcd7(d.surcharge_iss);
  for (size_t i = 18; i < kNonFiscalTotalizers; ++i) out += bcd7(d.nonfiscal[i]);
  out += bcd7(d.withdrawal) + bcd7(d.entry);
  for (size_t i = 0; i < 19; ++i) out += bcd7(d.by_method[i]);
  for (uint16_t rate : r.rates) out += bcd(rate, 2);
  out.append(r.day.begin(), r.day.end());
  return ok(std::move(out), Layout::DataFirst);
}

Reply older_reduction_data(State &s) {
  ReductionRecord r;
  if (!s.fiscal_memory.empty()) r = s.fiscal_memory.back();
  const DayTotals &d = r.totals;
  std::string out(1, '\0');
  out += bcd(static_cast<uint64_t>(r.grand_total), 9);
  out += bcd7(d.cancel_icms + d.cancel_iss) + bcd7(d.discount_icms + d.discount_iss);
  for (uint16_t rate : r.rates) out += bcd(rate, 2);
  for (int b = 0; b < kRates; ++b) out += bcd7(d.buckets[static_cast<size_t>(b)]);
  out += bcd7(d.buckets[kII]) + bcd7(d.buckets[kNN]) + bcd7(d.buckets[kFF]);
  for (size_t i = 0; i < 9; ++i) out += bcd7(d.nonfiscal[i]);
  out += bcd7(d.withdrawal) + bcd7(d.entry) + bcd7(d.surcharge_icms + d.surcharge_iss);
  out += bcd(r.crz, 2) + bcd(r.cro, 2) + bcd(r.gnf, 3) + bcd(r.ccf, 3) + std::string(1, '\0');
  out += bcd(r.coo, 3);
  out.append(r.day.begin(), r.day.end());
  return ok(std::move(out), Layout::DataFirst);
}

}  // namespace ecfsim
