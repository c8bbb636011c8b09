// The fiscal receipt: opening, items, discounts and surcharges,
// totalling, payments, closing and cancelling.
#include <cstdio>

#include "core/printer_state.h"

namespace ecfsim {
namespace {

Reply no_receipt() {
  return refuse(0, 0, exec::kReceiptClosed);
}
Reply already_totalled() {
  return refuse(0, 0, exec::kAlreadyTotalled);
}

std::string quantity_text(int64_t milli) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%lld,%03lld", static_cast<long long>(milli / 1000),
                static_cast<long long>(milli % 1000));
  return buf;
}

std::string price_text(int64_t price, int decimals) {
  if (decimals == 2) return money_text(price);
  char buf[128];
  std::snprintf(buf, sizeof buf, "%lld,%03lld", static_cast<long long>(price / 1000),
                static_cast<long long>(price % 1000));
  return buf;
}

// Tax field: "01".."16" a programmed rate, or a fixed situation.
int bucket_of(const State &s, std::string_view tax) {
  const std::string t = trim(tax);
  if (t == "FF") return kFF;
  if (t == "II") return kII;
  if (t == "NN") return kNN;
  if (s.mfd()) {
    if (t == "SF") return kSF;
    if (t == "SI") return kSI;
    if (t == "SN") return kSN;
  }
  int64_t n = 0;
  if (!parse_digits(t, n) || n < 1 || n > kRates) return -1;
  if (s.settings.rates[static_cast<size_t>(n - 1)] == 0) return -2;
  return static_cast<int>(n - 1);
}

std::string bucket_label(const State &s, int b) {
  static constexpr const char *kFixed[] = {"F1", "I1", "N1", "FS1", "IS1", "NS1"};
  if (b >= kRates) return kFixed[b - kRates];
  char buf[128];
  const unsigned r = s.settings.rates[static_cast<size_t>(b)];
  std::snprintf(buf, sizeof buf, "%s%02u,%02u%%", is_iss(s, b) ? "S" : "T", r / 100, r % 100);
  return buf;
}

// Parses a consumer block: 29, 59 or 139 bytes on the detail-tape models,
// 29 on the older ones.
bool consumer_block(const State &s, std::string_view a, std::vector<std::string> &lines) {
  if (a.empty()) return true;
  const bool fits = a.size() == 29 || (s.mfd() && (a.size() == 59 || a.size() == 139));
  if (!fits) return false;
  lines.push_back("CPF/CNPJ consumidor: " + trim(a.substr(0, 29)));
  if (a.size() >= 59) lines.push_back("Nome: " + trim(a.substr(29, 30)));
  if (a.size() == 139) lines.push_back("Endereco: " + trim(a.substr(59, 80)));
  return true;
}

void print_consumer(State &s, const std::vector<std::string> &lines) {
  for (const auto &l : lines) s.paper.text(l);
}

struct ItemFields {
  std::string_view code, description, tax, unit;
  std::string_view quantity, price, discount;
  int price_decimals = 2;
  bool round = false;
};

bool split_item(const State &s, uint16_t command, std::string_view a, ItemFields &f) {
  if (command == 9 || command == 56) {
    const size_t code_len = (s.model->code == 7 || s.model->code == 10) ? 14 : 13;
    if (a.size() != code_len + 54) return false;
    f.code = a.substr(0, code_len);
    f.description = a.substr(code_len, 29);
    f.tax = a.substr(code_len + 29, 2);
    f.quantity = a.substr(code_len + 31, 7);
    f.price = a.substr(code_len + 38, 8);
    f.discount = a.substr(code_len + 46, 8);
    f.price_decimals = command == 56 ? 3 : 2;
    return true;
  }
  if (command == 63) {
    if (a.size() < 78 || a[76] != '\0' || a.back() != '\0') return false;
    f.tax = a.substr(0, 2);
    f.price = a.substr(2, 9);
    f.quantity = a.substr(11, 7);
    f.discount = a.substr(18, 10);
    f.unit = a.substr(60, 2);
    f.code = a.substr(62, 14);
    // the field after the code ends with the separator at 76
    f.description = a.substr(77, a.size() - 78);
    f.price_decimals = 3;
    return true;
  }
  // extended item: 62/73, and 62/87 with a multiplication mode letter
  const size_t m = command == 62 * 256 + 87 ? 1 : 0;
  if (a.size() < 52 + m || a[41 + m] != '\0' || a[50 + m] != '\0' || a.back() != '\0') return false;
  f.code = a.substr(0, 14);
  f.tax = a.substr(14, 2);
  f.unit = a.substr(16, 2);
  if (m) {
    if (a[18] != 'A' && a[18] != 'T') return false;
    f.round = a[18] == 'A';
  }
  f.quantity = a.substr(18 + m, 7);
  f.price = a.substr(25 + m, 8);
  f.discount = a.substr(33 + m, 8);
  f.description = a.substr(51 + m, a.size() - 52 - m);
  f.price_decimals = 3;
  return true;
}

// A description laid out over several lines arrives with blanks filling
// each line; each stretch of text gets a line of its own.
std::vector<std::string> description_lines(std::string_view d) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < d.size()) {
    while (i < d.size() && d[i] == ' ') ++i;
    size_t end = d.find("  ", i);
    if (end == std::string_view::npos) end = d.size();
    if (end > i) lines.emplace_back(d.substr(i, end - i));
    i = end;
  }
  return lines;
}

void print_item(State &s, int number, const Item &it) {
  char head[128];
  std::snprintf(head, sizeof head, "%03d ", number);
  const std::vector<std::string> lines = description_lines(it.description);
  std::string first = std::string(head) + it.code;
  size_t next = 0;
  if (!lines.empty() &&
      first.size() + 1 + lines.front().size() <= static_cast<size_t>(s.columns())) {
    first += " " + lines.front();
    next = 1;
  }
  s.paper.text(first);
  // Further lines are indented and wrapped within the columns.
  const size_t width = static_cast<size_t>(s.columns()) - 4;
  for (size_t i = next; i < lines.size(); ++i) {
    for (size_t at = 0; at < lines[i].size(); at += width)
      s.paper.text("    " + lines[i].substr(at, width));
  }
  const std::string left = "    " + quantity_text(it.quantity_milli) + " " + it.unit + " x " +
                           price_text(it.unit_price, it.price_decimals);
  s.paper.pair(left, bucket_label(s, it.bucket) + "  " + money_text(it.amount));
  if (it.discount) s.paper.pair("    desconto item", "-" + money_text(it.discount));
}

// Puts a receipt's amounts into the day's books and the grand total.
ClosedReceipt commit_fiscal(State &s, const OpenDoc &d) {
  ClosedReceipt c;
  c.coo = d.coo;
  Money gross = 0;
  Money net_total = 0;
  for (const auto &it : d.items) {
    gross += it.amount;
    if (it.cancelled) {
      (is_iss(s, it.bucket) ? s.day.cancel_iss : s.day.cancel_icms) += it.amount;
      continue;
    }
    c.buckets[static_cast<size_t>(it.bucket)] += it.amount - it.discount;
    net_total += it.amount - it.discount;
    (is_iss(s, it.bucket) ? s.day.discount_iss : s.day.discount_icms) += it.discount;
    (is_iss(s, it.bucket) ? s.day.surcharge_iss : s.day.surcharge_icms) += it.surcharge;
    gross += it.surcharge;
  }
  // The subtotal discount and surcharge fall on the buckets in proportion
  // to what each holds; the last one takes the rounding.
  Money d_left = d.subtotal_discount, a_left = d.subtotal_surcharge;
  int last = -1;
  for (int b = 0; b < kBuckets; ++b) {
    if (c.buckets[static_cast<size_t>(b)] > 0) last = b;
  }
  std::array<Money, kBuckets> before = c.buckets;
  for (int b = 0; b < kBuckets && net_total > 0; ++b) {
    const Money net = before[static_cast<size_t>(b)];
    if (net <= 0) continue;
    const Money dd = b == last ? d_left : d.subtotal_discount * net / net_total;
    const Money aa = b == last ? a_left : d.subtotal_surcharge * net / net_total;
    d_left -= dd;
    a_left -= aa;
    c.buckets[static_cast<size_t>(b)] -= dd;
    (is_iss(s, b) ? s.day.discount_iss : s.day.discount_icms) += dd;
    (is_iss(s, b) ? s.day.surcharge_iss : s.day.surcharge_icms) += aa;
  }
  gross += d.subtotal_surcharge;
  for (int b = 0; b < kBuckets; ++b)
    s.day.buckets[static_cast<size_t>(b)] += c.buckets[static_cast<size_t>(b)];
  c.payments = net_payments(d);
  for (const auto &p : c.payments) s.day.by_method[static_cast<size_t>(p.method - 1)] += p.amount;
  c.total = subtotal(d);
  s.grand_total += gross;
  return c;
}

// Moves a committed receipt's amounts from the rate totals to the
// cancellations; the grand total keeps them.
void cancel_committed(State &s, const ClosedReceipt &c) {
  for (int b = 0; b < kBuckets; ++b) {
    const Money m = c.buckets[static_cast<size_t>(b)];
    s.day.buckets[static_cast<size_t>(b)] -= m;
    (is_iss(s, b) ? s.day.cancel_iss : s.day.cancel_icms) += m;
  }
  for (const auto &p : c.payments) s.day.by_method[static_cast<size_t>(p.method - 1)] -= p.amount;
  for (auto &l : s.linkable) {
    if (l.coo == c.coo) l.used = true;
  }
  s.counters.cfc = static_cast<uint16_t>((s.counters.cfc + 1) % 10000);
}

}  // namespace

Reply open_receipt(State &s, std::string_view args) {
  if (s.doc.kind != Doc::None) return refuse(0, 0);
  std::vector<std::string> consumer;
  if (!consumer_block(s, args, consumer)) return bad_count();
  begin_movement(s);
  s.doc = OpenDoc{};
  s.doc.kind = Doc::Fiscal;
  s.doc.coo = next_coo(s);
  s.counters.ccf = (s.counters.ccf + 1) % 1000000;
  print_header(s, "CUPOM FISCAL", s.doc.coo);
  print_consumer(s, consumer);
  s.paper.line("ITEM CODIGO DESCRICAO");
  s.paper.pair("QTD. UN. VL UNIT(R$)", "ST VL ITEM(R$)");
  s.paper.rule();
  return ok();
}

Reply long_description(State &s, std::string_view args) {
  if (s.doc.kind != Doc::Fiscal) return no_receipt();
  if (args.empty() || args.size() > 200) return bad_count();
  s.doc.pending_description = trim(args);
  return ok();
}

Reply register_item(State &s, uint16_t command, std::string_view args) {
  ItemFields f;
  if (!split_item(s, command, args, f)) return bad_count();
  if (s.doc.kind != Doc::Fiscal) return no_receipt();
  if (s.doc.totalled) return already_totalled();
  if (s.doc.items.size() >= kMaxItems) return bad_param();
  const int bucket = bucket_of(s, f.tax);
  if (bucket == -2) return refuse(0, st2::kRateNotProgrammed);
  int64_t qty = 0, price = 0, discount = 0;
  if (bucket < 0 || !parse_digits(f.quantity, qty) || !parse_digits(f.price, price) ||
      !parse_digits(f.discount, discount) || qty == 0 || price == 0)
    return bad_param();
  Item it;
  it.code = trim(f.code);
  it.description =
      s.doc.pending_description.empty() ? trim(f.description) : s.doc.pending_description;
  it.unit = f.unit.empty() ? "UN" : trim(f.unit);
  it.bucket = bucket;
  it.quantity_milli = qty;
  it.unit_price = price;
  it.price_decimals = f.price_decimals;
  const int64_t divisor = f.price_decimals == 3 ? 10000 : 1000;
  const bool round = f.round || s.settings.multiplication_mode == 0xFF;
  it.amount = (qty * price + (round ? divisor / 2 : 0)) / divisor;
  it.discount = discount;
  if (it.amount == 0 || discount >= it.amount ||
      subtotal(s.doc) + it.amount - discount > kMaxReceiptAmount)
    return bad_param();
  s.doc.pending_description.clear();
  s.doc.items.push_back(it);
  print_item(s, static_cast<int>(s.doc.items.size()), it);
  return ok();
}

Reply cancel_item(State &s, std::string_view args) {
  int64_t n = 0;
  if (args.size() != 4) return bad_count();
  if (!parse_digits(args, n)) return bad_param();
  if (s.doc.kind != Doc::Fiscal) return no_receipt();
  if (s.doc.totalled) return already_totalled();
  if (n < 1 || n > static_cast<int64_t>(s.doc.items.size())) return bad_param();
  Item &it = s.doc.items[static_cast<size_t>(n - 1)];
  if (it.cancelled) return bad_param();
  it.cancelled = true;
  char buf[128];
  std::snprintf(buf, sizeof buf, "cancelado item %03lld", static_cast<long long>(n));
  s.paper.pair(buf, "-" + money_text(it.amount - it.discount + it.surcharge));
  return ok();
}

Reply begin_totalling(State &s, std::string_view args) {
  if (args.size() != 5 && args.size() != 15) return bad_count();
  if (s.doc.kind != Doc::Fiscal) return no_receipt();
  if (s.doc.totalled) return already_totalled();
  const char kind = args[0];
  const bool percent = kind == 'D' || kind == 'A';
  if ((percent && args.size() != 5) || (!percent && kind != 'd' && kind != 'a') ||
      (!percent && args.size() != 15))
    return bad_param();
  int64_t v = 0;
  if (!parse_digits(args.substr(1), v)) return bad_param();
  const Money sub = subtotal(s.doc);
  if (sub <= 0) return refuse(0, 0);
  const Money amount = percent ? sub * v / 10000 : v;
  const bool discount = kind == 'd' || kind == 'D';
  if ((percent && v > 10000) || (discount && amount >= sub) ||
      (!discount && sub + amount > kMaxReceiptAmount))
    return bad_param();
  s.paper.rule();
  s.paper.pair("SUBTOTAL R$", money_text(sub));
  if (amount) {
    if (discount) {
      s.doc.subtotal_discount = amount;
      s.paper.pair("desconto", "-" + money_text(amount));
    } else {
      s.doc.subtotal_surcharge = amount;
      s.paper.pair("acrescimo", "+" + money_text(amount));
    }
  }
  s.doc.totalled = true;
  s.paper.pair("TOTAL R$", money_text(subtotal(s.doc)));
  return ok();
}

Reply item_adjustment(State &s, std::string_view args) {
  if (args.size() != 12) return bad_count();
  int64_t n = 0, v = 0;
  if ((args[0] != 'D' && args[0] != 'A') || !parse_digits(args.substr(1, 3), n) ||
      !parse_digits(args.substr(4), v) || v == 0)
    return bad_param();
  if (s.doc.kind != Doc::Fiscal) return no_receipt();
  if (s.doc.totalled) return already_totalled();
  if (n < 1 || n > static_cast<int64_t>(s.doc.items.size())) return bad_param();
  Item &it = s.doc.items[static_cast<size_t>(n - 1)];
  if (it.cancelled) return bad_param();
  char buf[128];
  if (args[0] == 'D') {
    if (it.discount || v >= it.amount) return bad_param();
    it.discount = v;
    std::snprintf(buf, sizeof buf, "desconto item %03lld", static_cast<long long>(n));
    s.paper.pair(buf, "-" + money_text(v));
  } else {
    if (it.surcharge || subtotal(s.doc) + v > kMaxReceiptAmount) return bad_param();
    it.surcharge = v;
    std::snprintf(buf, sizeof buf, "acrescimo item %03lld", static_cast<long long>(n));
    s.paper.pair(buf, "+" + money_text(v));
  }
  return ok();
}

Reply cancel_item_adjustment(State &s, std::string_view args) {
  if (args.size() != 4) return bad_count();
  int64_t n = 0;
  if ((args[0] != 'D' && args[0] != 'A') || !parse_digits(args.substr(1), n)) return bad_param();
  if (s.doc.kind != Doc::Fiscal) return no_receipt();
  if (s.doc.totalled) return already_totalled();
  if (n < 1 || n > static_cast<int64_t>(s.doc.items.size())) return bad_param();
  Item &it = s.doc.items[static_cast<size_t>(n - 1)];
  Money &m = args[0] == 'D' ? it.discount : it.surcharge;
  if (m == 0) return refuse(0, st2::kCancelNotAllowed);
  char buf[128];
  std::snprintf(buf, sizeof buf, "cancelado %s item %03lld",
                args[0] == 'D' ? "desconto" : "acrescimo", static_cast<long long>(n));
  s.paper.pair(buf, money_text(m));
  m = 0;
  return ok();
}

Reply payment(State &s, std::string_view args) {
  if (args.size() < 16 || args.size() > 16 + 80) return bad_count();
  int64_t method = 0, amount = 0;
  if (!parse_digits(args.substr(0, 2), method) || !parse_digits(args.substr(2, 14), amount) ||
      amount == 0)
    return bad_param();
  if (s.doc.kind != Doc::Fiscal && s.doc.kind != Doc::NonFiscal) return no_receipt();
  if (!s.doc.totalled) return refuse(0, 0, exec::kNotTotalled);
  if (method < 1 || method > static_cast<int64_t>(s.settings.payment_methods.size()))
    return bad_param();
  const Money total = subtotal(s.doc);
  if (s.doc.paid >= total || s.doc.payments.size() >= kMaxPayments) return refuse(0, 0);
  if (s.doc.paid + amount > kMaxReceiptAmount) return bad_param();
  s.doc.payments.push_back({static_cast<int>(method), amount});
  s.doc.paid += amount;
  s.paper.pair(s.settings.payment_methods[static_cast<size_t>(method - 1)], money_text(amount));
  const std::string_view text = args.substr(16);
  if (!text.empty()) s.paper.text(text);
  return ok();
}

Reply last_coo(State &s) {
  return ok(bcd(s.counters.coo, 3), Layout::DataFirst);
}

Reply receipt_subtotal(State &s) {
  const Money sub = s.doc.kind == Doc::Fiscal ? subtotal(s.doc) : 0;
  return ok(bcd(static_cast<uint64_t>(sub), 7), Layout::DataFirst);
}

Reply close_receipt(State &s, std::string_view args) {
  if (args.size() > kMaxTextLen) return bad_count();
  if (s.doc.kind != Doc::Fiscal && s.doc.kind != Doc::NonFiscal) return no_receipt();
  if (!s.doc.totalled) return refuse(0, 0, exec::kNotTotalled);
  const Money total = subtotal(s.doc);
  if (total <= 0 && s.doc.kind == Doc::NonFiscal) return refuse(0, 0, exec::kZeroNonFiscal);
  if (s.doc.paid < total) return refuse(0, 0);
  if (s.doc.paid > total) s.paper.pair("TROCO R$", money_text(s.doc.paid - total));
  if (!args.empty()) {
    s.paper.rule();
    s.paper.free_text(args);
  }
  if (s.doc.kind == Doc::Fiscal) {
    s.last_receipt = commit_fiscal(s, s.doc);
  } else {
    commit_nonfiscal(s, s.doc);
  }
  // A payment of either receipt may be tied to a linked receipt.
  for (const auto &p : s.doc.payments) {
    if (s.linkable.size() >= kMaxPayments) s.linkable.erase(s.linkable.begin());
    s.linkable.push_back({s.doc.coo, p.method, p.amount, false});
  }
  const bool fiscal = s.doc.kind == Doc::Fiscal;
  print_footer(s);
  s.doc = OpenDoc{};
  s.previous_cancellable = fiscal;
  return ok();
}

Reply cancel_receipt(State &s, std::string_view args) {
  std::vector<std::string> consumer;
  if (!s.mfd() && !args.empty()) return bad_count();
  if (!consumer_block(s, args, consumer)) return bad_count();
  if (s.doc.kind == Doc::NonFiscal) return cancel_nonfiscal(s, {});
  if (s.doc.kind == Doc::Fiscal) {
    print_consumer(s, consumer);
    s.paper.center("CUPOM FISCAL CANCELADO");
    s.paper.pair("TOTAL CANCELADO R$", money_text(subtotal(s.doc)));
    const ClosedReceipt c = commit_fiscal(s, s.doc);
    cancel_committed(s, c);
    print_footer(s);
    s.doc = OpenDoc{};
    s.previous_cancellable = false;
    return ok();
  }
  if (s.doc.kind != Doc::None || !s.previous_cancellable) return refuse(0, st2::kCancelNotAllowed);
  const ClosedReceipt c = s.last_receipt;
  const uint32_t coo = next_coo(s);
  print_header(s, "CANCELAMENTO", coo);
  print_consumer(s, consumer);
  char buf[128];
  std::snprintf(buf, sizeof buf, "COO do cupom cancelado: %06u", c.coo);
  s.paper.line(buf);
  s.paper.pair("Valor da operacao R$", money_text(c.total));
  cancel_committed(s, c);
  print_footer(s);
  return ok();
}

}  // namespace ecfsim

namespace ecfsim {

void cancel_open_document(State &s) {
  if (s.doc.kind == Doc::Fiscal) {
    s.paper.center("CUPOM FISCAL CANCELADO");
    cancel_committed(s, commit_fiscal(s, s.doc));
  } else if (s.doc.kind != Doc::None) {
    s.paper.center("DOCUMENTO ENCERRADO");
  }
  if (s.doc.kind != Doc::None) print_footer(s);
  s.doc = OpenDoc{};
}

}  // namespace ecfsim
