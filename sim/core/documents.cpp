// Non-fiscal receipts, linked receipts and management reports.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/printer_state.h"

namespace ecfsim {
namespace {

bool same_text(std::string_view a, std::string_view b) {
  const std::string x = trim(a), y = trim(b);
  return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
    return std::toupper(static_cast<unsigned char>(p)) ==
           std::toupper(static_cast<unsigned char>(q));
  });
}

std::string totalizer_name(const State &s, int index) {
  const std::string &n = s.settings.nonfiscal_names[static_cast<size_t>(index)];
  if (!n.empty()) return n;
  char buf[128];
  std::snprintf(buf, sizeof buf, "Totalizador %02d", index + 1);
  return buf;
}

// Cash withdrawals and entries also have their own totals.
void book_nonfiscal(State &s, int index, Money amount) {
  s.day.nonfiscal[static_cast<size_t>(index)] += amount;
  const std::string &n = s.settings.nonfiscal_names[static_cast<size_t>(index)];
  if (same_text(n, "Sangria")) s.day.withdrawal += amount;
  if (same_text(n, "Suprimento")) s.day.entry += amount;
}

bool consumer_ok(const State &s, std::string_view a) {
  return a.empty() || a.size() == 29 || (s.mfd() && (a.size() == 59 || a.size() == 139));
}

void print_consumer_block(State &s, std::string_view a) {
  if (a.size() >= 29) s.paper.text("CPF/CNPJ consumidor: " + trim(a.substr(0, 29)));
  if (a.size() >= 59) s.paper.text("Nome: " + trim(a.substr(29, 30)));
  if (a.size() >= 139) s.paper.text("Endereco: " + trim(a.substr(59, 80)));
}

// The document's counters under its title: GNF and, when given, its own.
void print_counters(State &s, const char *own, uint32_t value) {
  char gnf[32], other[32] = "";
  std::snprintf(gnf, sizeof gnf, "GNF:%06u", s.counters.gnf);
  if (own) std::snprintf(other, sizeof other, "%s:%06u", own, value);
  s.paper.pair(gnf, other);
}

void open_document(State &s, Doc kind, std::string_view title) {
  begin_movement(s);
  s.doc = OpenDoc{};
  s.doc.kind = kind;
  s.doc.coo = next_coo(s);
  s.counters.gnf = (s.counters.gnf + 1) % 1000000;
  print_header(s, title, s.doc.coo);
  if (kind == Doc::NonFiscal || kind == Doc::None) print_counters(s, nullptr, 0);
}

}  // namespace

void commit_nonfiscal(State &s, const OpenDoc &d) {
  for (const auto &[index, amount] : d.registrations) book_nonfiscal(s, index, amount);
  for (const auto &p : net_payments(d))
    s.day.by_method[static_cast<size_t>(p.method - 1)] += p.amount;
}

Reply open_nonfiscal(State &s, std::string_view args) {
  if (!consumer_ok(s, args)) return bad_count();
  if (s.doc.kind != Doc::None) return refuse(0, 0);
  open_document(s, Doc::NonFiscal, "COMPROVANTE NAO-FISCAL");
  print_consumer_block(s, args);
  return ok();
}

Reply register_nonfiscal(State &s, std::string_view args) {
  if (args.size() != 16) return bad_count();
  int64_t code = 0, amount = 0;
  if (!parse_digits(args.substr(0, 2), code) || !parse_digits(args.substr(2), amount) || code < 1 ||
      code > kNonFiscalTotalizers)
    return bad_param();
  if (s.doc.kind != Doc::NonFiscal) return refuse(0, 0);
  if (s.doc.totalled) return refuse(0, 0, exec::kAlreadyTotalled);
  if (amount == 0) return refuse(0, 0, exec::kZeroNonFiscal);
  if (subtotal(s.doc) + amount > kMaxReceiptAmount || s.doc.registrations.size() >= kMaxItems)
    return bad_param();
  const int index = static_cast<int>(code - 1);
  s.doc.registrations.emplace_back(index, amount);
  char buf[128];
  std::snprintf(buf, sizeof buf, "%02d ", index + 1);
  s.paper.pair(buf + totalizer_name(s, index), money_text(amount));
  return ok();
}

Reply total_nonfiscal(State &s, std::string_view args) {
  if (args.size() != 5 && args.size() != 15) return bad_count();
  if (s.doc.kind != Doc::NonFiscal) return refuse(0, 0);
  if (s.doc.totalled) return refuse(0, 0, exec::kAlreadyTotalled);
  const char kind = args[0];
  const bool percent = kind == 'D' || kind == 'A';
  int64_t v = 0;
  if ((percent != (args.size() == 5)) || (kind != 'd' && kind != 'a' && !percent) ||
      !parse_digits(args.substr(1), v))
    return bad_param();
  const Money sub = subtotal(s.doc);
  if (sub <= 0) return refuse(0, 0, exec::kZeroNonFiscal);
  const Money amount = percent ? sub * v / 10000 : v;
  const bool discount = kind == 'd' || kind == 'D';
  if ((discount && amount >= sub) || (!discount && sub + amount > kMaxReceiptAmount))
    return bad_param();
  (discount ? s.doc.subtotal_discount : s.doc.subtotal_surcharge) = amount;
  s.doc.totalled = true;
  s.paper.rule();
  if (amount) s.paper.pair(discount ? "desconto" : "acrescimo", money_text(amount));
  s.paper.pair("TOTAL R$", money_text(subtotal(s.doc)));
  return ok();
}

Reply cancel_nonfiscal(State &s, std::string_view args) {
  if (!consumer_ok(s, args)) return bad_count();
  if (s.doc.kind != Doc::NonFiscal) return refuse(0, 0, exec::kReceiptClosed);
  s.paper.center("COMPROVANTE NAO-FISCAL CANCELADO");
  print_footer(s);
  s.doc = OpenDoc{};
  return ok();
}

// Command 25: a whole non-fiscal voucher in one command.
Reply nonfiscal_voucher(State &s, std::string_view args) {
  if (args.size() != 16 && args.size() != 32) return bad_count();
  const std::string_view code = args.substr(0, 2);
  int64_t amount = 0, n = 0;
  if (!parse_digits(args.substr(2, 14), amount)) return bad_param();
  const bool entry = code == "SU", withdrawal = code == "SA";
  if (!entry && !withdrawal && (!parse_digits(code, n) || n < 1 || n > kNonFiscalTotalizers))
    return bad_param();
  int method = 0;
  if (args.size() == 32) {
    const std::string_view name = args.substr(16);
    for (size_t i = 0; i < s.settings.payment_methods.size(); ++i) {
      if (same_text(s.settings.payment_methods[i], name)) method = static_cast<int>(i + 1);
    }
    if (!method) return bad_param();
  }
  if (s.doc.kind != Doc::None) return refuse(0, 0);
  if (amount == 0) return refuse(0, 0, exec::kZeroNonFiscal);
  open_document(s, Doc::None, "COMPROVANTE NAO-FISCAL");
  if (entry) {
    s.day.entry += amount;
    s.paper.pair("SUPRIMENTO", money_text(amount));
  } else if (withdrawal) {
    s.day.withdrawal += amount;
    s.paper.pair("SANGRIA", money_text(amount));
  } else {
    book_nonfiscal(s, static_cast<int>(n - 1), amount);
    s.paper.pair(totalizer_name(s, static_cast<int>(n - 1)), money_text(amount));
  }
  if (method) {
    s.day.by_method[static_cast<size_t>(method - 1)] += amount;
    s.paper.pair(s.settings.payment_methods[static_cast<size_t>(method - 1)], money_text(amount));
  }
  print_footer(s);
  s.doc = OpenDoc{};
  return ok();
}

Reply open_linked(State &s, std::string_view args) {
  if (args.size() < 36) return bad_count();
  const std::string_view rest = args.substr(36);
  if (!rest.empty() && !(s.mfd() && consumer_ok(s, rest))) return bad_count();
  int64_t amount = 0, coo = 0;
  if (!parse_digits(args.substr(16, 14), amount) || !parse_digits(args.substr(30, 6), coo))
    return bad_param();
  if (s.doc.kind != Doc::None) return refuse(0, 0);
  const std::string_view name = args.substr(0, 16);
  Linkable *found = nullptr;
  for (auto &l : s.linkable) {
    if (!l.used && l.coo == coo && l.amount == amount &&
        same_text(s.settings.payment_methods[static_cast<size_t>(l.method - 1)], name))
      found = &l;
  }
  if (!found) return bad_param();
  found->used = true;
  open_document(s, Doc::Linked, "COMPROVANTE CREDITO OU DEBITO");
  s.counters.cdc = (s.counters.cdc + 1) % 1000000;
  print_counters(s, "CCD", s.counters.cdc);
  print_consumer_block(s, rest);
  char buf[128];
  std::snprintf(buf, sizeof buf, "COO do documento vinculado: %06u", found->coo);
  s.last_linked_text.clear();
  s.last_linked_text.push_back(buf);
  s.last_linked_text.push_back("Meio de pagamento: " + trim(name));
  for (const auto &l : s.last_linked_text) s.paper.text(l);
  s.paper.pair("Valor do pagamento R$", money_text(amount));
  s.last_linked_text.push_back("Valor do pagamento R$ " + money_text(amount));
  s.paper.rule();
  return ok();
}

Reply linked_text(State &s, std::string_view args) {
  if (args.empty() || args.size() > kMaxTextLen) return bad_count();
  if (s.doc.kind != Doc::Linked) return refuse(0, 0);
  s.paper.free_text(args);
  if (s.last_linked_text.size() < 64) s.last_linked_text.emplace_back(args);
  return ok();
}

Reply close_document(State &s) {
  if (s.doc.kind != Doc::Linked && s.doc.kind != Doc::Report)
    return refuse(0, 0, exec::kNoReportOpen);
  print_footer(s);
  s.doc = OpenDoc{};
  return ok();
}

Reply linked_copy(State &s, bool second_copy) {
  if (s.doc.kind != Doc::None || s.last_linked_text.empty()) return refuse(0, 0);
  const uint32_t coo = next_coo(s);
  s.counters.gnf = (s.counters.gnf + 1) % 1000000;
  print_header(s, second_copy ? "SEGUNDA VIA" : "REIMPRESSAO", coo);
  s.paper.center("COMPROVANTE CREDITO OU DEBITO");
  for (const auto &t : s.last_linked_text) s.paper.free_text(t);
  print_footer(s);
  return ok();
}

Reply open_report(State &s, std::string_view args) {
  if (args.size() != 2) return bad_count();
  int64_t type = 0;
  if (!parse_digits(args, type) || type < 1) return bad_param();
  if (s.doc.kind != Doc::None) return refuse(0, 0);
  open_document(s, Doc::Report, "RELATORIO GERENCIAL");
  s.counters.grg = (s.counters.grg + 1) % 1000000;
  print_counters(s, "GRG", s.counters.grg);
  s.doc.report_type = static_cast<int>(type);
  char buf[128];
  std::snprintf(buf, sizeof buf, "Tipo: %02lld", static_cast<long long>(type));
  s.paper.line(buf);
  s.paper.rule();
  return ok();
}

// Command 20: without text it opens a report; its text goes into the open
// report, opening one first when none is.
Reply report_text(State &s, std::string_view args) {
  if (args.size() > kMaxTextLen) return bad_count();
  if (s.doc.kind != Doc::None && s.doc.kind != Doc::Report) return refuse(0, 0);
  if (s.doc.kind == Doc::None) {
    // The older models begin a report opened this way with a Reading X.
    if (!s.mfd()) {
      const Reply x = reading_x(s);
      if (x.st2 & st2::kNotExecuted) return x;
    }
    open_document(s, Doc::Report, "RELATORIO GERENCIAL");
    s.counters.grg = (s.counters.grg + 1) % 1000000;
    print_counters(s, "GRG", s.counters.grg);
    s.paper.rule();
  }
  if (!args.empty()) s.paper.free_text(args);
  return ok();
}

Reply application_id(State &s, std::string_view args) {
  if (!model_takes_app_id(s.model->code)) return unknown_command();
  if (args.size() != 84) return bad_count();
  s.settings.app_id = trim(args);
  return ok();
}

Reply item_line_mode(State &s, std::string_view args) {
  if (args.size() != 9) return bad_count();
  if (args == "rumo73152") {
    s.settings.item_line_mode = 1;
  } else if (args == "rumo73151") {
    s.settings.item_line_mode = 2;
  } else {
    return bad_param();
  }
  return ok();
}

}  // namespace ecfsim
