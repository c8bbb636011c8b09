#include "commands.h"

#include <signal.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>

#include "documents_commands.h"
#include "driver.h"
#include "ecfbmtc/info.h"
#include "latin1.h"
#include "progress.h"
#include "registry.h"
#include "result_codes.h"
#include "script.h"
#include "session.h"
#include "state_file.h"
#include "wire_count.h"

namespace ecfctl {
namespace {

// Offsets in the persistent record.
constexpr size_t kPromoLines = BMTCLOCAL_D_LINHAS_PUBLICIDADE;
constexpr size_t kDescriptionLines = BMTCLOCAL_D_LINHAS_DESCRITIVO;
constexpr size_t kSlotSize = BMTCLOCAL_D_TAM_LINHA;
constexpr int kPromoSlots = 8;
constexpr int kDescriptionSlots = 4;
constexpr size_t kLinkablePayments = BMTCLOCAL_D_QTD_PAGTOS_VINCULAVEIS;
constexpr size_t kConsumerDocument = BMTCLOCAL_D_CONSUMIDOR_CPF_CNPJ;
constexpr size_t kConsumerName = BMTCLOCAL_D_CONSUMIDOR_NOME;
constexpr size_t kConsumerAddress = BMTCLOCAL_D_CONSUMIDOR_ENDERECO;
constexpr size_t kTotalPaid = BMTCLOCAL_D_TOTAL_PAGO;
constexpr size_t kDocumentState = BMTCLOCAL_D_ESTADO_DOC;
constexpr size_t kDayState = BMTCLOCAL_D_ESTADO_DIA;
static_assert(kDayState + 1 == kRecordSize);

constexpr size_t kMaxScriptBytes = 1 << 20;

std::string_view document_state_meaning(int s) {
  switch (s) {
    case 1:
      return "no document open, day not begun";
    case 2:
      return "no document open";
    case 3:
      return "fiscal receipt open";
    case 4:
      return "non-fiscal receipt open";
    case 5:
      return "linked receipt open";
    case 6:
    case 7:
      return "fiscal receipt open, totalling begun";
    case 9:
      return "management report open";
    case 51:
    case 52:
      return "no document open";
    default:
      return "unknown";
  }
}

std::string_view record_document_meaning(int s) {
  switch (s) {
    case 0:
      return "none";
    case 1:
      return "fiscal receipt";
    case 2:
      return "linked receipt";
    case 3:
      return "non-fiscal receipt";
    case 4:
      return "management report";
    case 5:
      return "set from the printer's flags";
    default:
      return "unknown";
  }
}

int first_free_slot(std::span<const uint8_t> rec, size_t offset, int slots) {
  for (int i = 0; i < slots; ++i) {
    if (rec[offset + static_cast<size_t>(i) * kSlotSize] == 0) return i;
  }
  return -1;
}

int free_slots(std::span<const uint8_t> rec, size_t offset, int slots) {
  int n = 0;
  for (int i = 0; i < slots; ++i) {
    if (rec[offset + static_cast<size_t>(i) * kSlotSize] == 0) ++n;
  }
  return n;
}

const char *null_if_empty(const std::string &s) {
  return s.empty() ? nullptr : s.c_str();
}

// A usage problem found while running (not a driver result).
struct StepError {
  std::string message;
};

// Finds a payment method's number by its name on the printer.
int method_by_name(Session &s, const std::string &name, int &number,
                   std::optional<StepError> &err) {
  if (s.ops().le_forma_de_pagamento == nullptr) return kMissingOperation;
  std::string known;
  for (int i = 0; i < 50; ++i) {
    std::array<char, 32> buf{};
    int r = s.call([&] { return s.ops().le_forma_de_pagamento(i, buf.data()); });
    if (r == 19) break;  // past the printer's table
    if (r != 0) return r;
    std::string entry = trim(std::string_view(buf.data(), ::strnlen(buf.data(), 16)));
    if (entry.empty()) continue;
    if (same_name(entry, name)) {
      number = i + 1;
      return 0;
    }
    known += known.empty() ? "" : ", ";
    known += std::to_string(i + 1) + " " + to_utf8(entry);
  }
  err = StepError{"no payment method named \"" + to_utf8(name) +
                  "\" (the printer has: " + (known.empty() ? std::string("none") : known) + ")"};
  return 0;
}

// Whether the item command the driver picks for this model and its flags
// carries a unit: the classic commands print "UN" whatever was asked.
bool item_sends_unit(int model, int flags) {
  if (model == 12) return true;
  if (model == 7 || model == 10) return (flags & (4 | 8)) != 0;
  return (flags & 16) != 0;
}

// After a refused item: names the tax code when the printer has no such rate.
void explain_tax_code(Session &s, const std::string &tax, std::optional<StepError> &err) {
  std::vector<TaxEntry> rates;
  if (read_rates(s, rates) != 0) return;
  std::string known;
  for (const auto &e : rates) {
    const std::string code{static_cast<char>(e[1]), static_cast<char>(e[2])};
    if (code == tax) return;
    known += (known.empty() ? "" : ", ") + code;
  }
  for (std::string_view fixed : {"FF", "II", "NN", "SF", "SI", "SN"})
    if (tax == fixed) return;
  err = StepError{"tax code " + tax + " is not one of the printer's rates (" +
                  (known.empty() ? std::string("none programmed") : known) +
                  "; ecfctl rates lists them)"};
}

// Reads made to explain a refusal must not replace the printer's reason for it.
class KeepRefusal {
 public:
  explicit KeepRefusal(const Session &s)
      : g_(s.globals()),
        failure_(g_.ultima_falha != nullptr ? *g_.ultima_falha : 0),
        execution_(g_.status_execucao != nullptr ? *g_.status_execucao : 0) {}
  ~KeepRefusal() {
    if (g_.ultima_falha != nullptr) *g_.ultima_falha = failure_;
    if (g_.status_execucao != nullptr) *g_.status_execucao = execution_;
  }
  KeepRefusal(const KeepRefusal &) = delete;
  KeepRefusal &operator=(const KeepRefusal &) = delete;

 private:
  const Globals &g_;
  int failure_;
  int execution_;
};

int run_item_call(Session &s, const Step &st, std::optional<StepError> &err);

int run_item(Session &s, const Step &st, std::optional<StepError> &err) {
  const int r = run_item_call(s, st, err);
  if (r == 0 || r == kMissingOperation || err) return r;
  KeepRefusal keep(s);
  explain_tax_code(s, st.tax, err);
  return r;
}

// An amount of digits with two implied decimals as the receipt prints it.
std::string receipt_money(const std::string &digits) {
  std::string text =
      as_money(digits.substr(std::min(digits.find_first_not_of('0'), digits.size())));
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

// Is the digit string a below b, as numbers?
bool less_digits(std::string_view a, std::string_view b) {
  a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
  b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// After a refused close: "paid 6,00 of 24,50" when the printer holds less
// paid (variable 22) than the receipt's total (information code 1).
std::string underpaid_hint(Session &s) {
  const Ops &o = s.ops();
  const Globals &g = s.globals();
  auto *info = reinterpret_cast<int (*)(char *, int, int)>(s.symbol("ECFIF_le_info_modo"));
  if (o.le_parametro == nullptr || info == nullptr || g.buffer_protocolo == nullptr ||
      g.tam_resposta_ecf == nullptr)
    return {};
  KeepRefusal keep(s);
  if (s.call([&] { return o.le_parametro(22); }) != 0 || *g.buffer_protocolo == nullptr ||
      *g.tam_resposta_ecf < 10)
    return {};
  const std::string paid = bcd_digits(*g.buffer_protocolo + 3, 7);
  std::array<char, ECFIF_TAM_TEXTO_INFO + 1> text{};
  if (s.call([&] { return info(text.data(), 1, 1); }) != 0) return {};
  const std::string total(text.data(), ::strnlen(text.data(), text.size()));
  if (total.empty() || total.find_first_not_of("0123456789") != std::string::npos ||
      !less_digits(paid, total))
    return {};
  return "paid " + receipt_money(paid) + " of " + receipt_money(total);
}

int run_item_call(Session &s, const Step &st, std::optional<StepError> &err) {
  const Ops &o = s.ops();
  if (int r = s.ensure_configured(); r != 0) return r;
  const Globals &g = s.globals();
  int model = g.modelo_ecf != nullptr ? *g.modelo_ecf : 0;
  if (st.code.size() > 13 && model != 7 && model != 10 && model != 12) {
    err = StepError{"item code longer than 13 characters for this printer"};
    return 0;
  }
  if (static_cast<int>(st.lines.size()) >
      free_slots(s.record(), kDescriptionLines, kDescriptionSlots)) {
    err = StepError{"not enough free description lines (4 at most per item)"};
    return 0;
  }
  for (const auto &line : st.lines) {
    if (o.descritivo == nullptr) return kMissingOperation;
    int idx = first_free_slot(s.record(), kDescriptionLines, kDescriptionSlots);
    s.call([&] { return o.descritivo(idx, line.c_str()); });
  }
  const char *code = st.code.c_str();
  const char *desc = st.text.c_str();
  const char *tax = st.tax.c_str();
  const char *qty = st.quantity.c_str();
  const char *price = st.value.c_str();
  if (!st.unit.empty()) {
    int flags = g.flags != nullptr ? *g.flags : 0;
    if (!item_sends_unit(model, flags)) {
      err = StepError{"unit=" + st.unit +
                      ": this printer's item command has no unit and would print UN; set the "
                      "driver option ECFBMTC_FLAGS=16 to use the item command with a unit"};
      return 0;
    }
    if (o.registra_item_und == nullptr) return kMissingOperation;
    return s.call(
        [&] { return o.registra_item_und(code, desc, tax, qty, price, st.unit.c_str()); });
  }
  if (st.three_decimals) {
    if (o.registra_item_3casas == nullptr) return kMissingOperation;
    return s.call([&] {
      return o.registra_item_3casas(code, desc, tax, qty, price, null_if_empty(st.discount));
    });
  }
  if (!st.discount.empty()) {
    if (o.registra_item_desc == nullptr) return kMissingOperation;
    return s.call(
        [&] { return o.registra_item_desc(code, desc, tax, qty, price, st.discount.c_str()); });
  }
  if (o.registra_item == nullptr) return kMissingOperation;
  return s.call([&] { return o.registra_item(code, desc, tax, qty, price); });
}

// Runs one operation. A usage problem found on the way is put in `err`.
int run_step(Session &s, const Step &st, std::optional<StepError> &err, std::string &hint) {
  const Ops &o = s.ops();
  switch (st.kind) {
    case StepKind::Consumer: {
      if (o.identifica_consumidor == nullptr) return kMissingOperation;
      if (st.forget) return s.call([&] { return o.identifica_consumidor(0, nullptr); });
      int r = s.call([&] { return o.identifica_consumidor(1, st.text.c_str()); });
      if (r == 0) r = s.call([&] { return o.identifica_consumidor(2, null_if_empty(st.name)); });
      if (r == 0) r = s.call([&] { return o.identifica_consumidor(3, null_if_empty(st.address)); });
      return r;
    }
    case StepKind::AppId:
      if (o.id_aplicacao == nullptr) return kMissingOperation;
      if (int r = s.ensure_configured(); r != 0) return r;
      return s.call([&] { return o.id_aplicacao(st.text.c_str()); });
    case StepKind::Open:
      if (o.inicio_venda == nullptr) return kMissingOperation;
      return s.call([&] { return o.inicio_venda(); });
    case StepKind::Line: {
      if (o.descritivo == nullptr) return kMissingOperation;
      if (int r = s.ensure_configured(); r != 0) return r;
      int idx = first_free_slot(s.record(), kDescriptionLines, kDescriptionSlots);
      if (idx < 0) {
        err = StepError{"4 description lines are already stored for the next item"};
        return 0;
      }
      return s.call([&] { return o.descritivo(idx, st.text.c_str()); });
    }
    case StepKind::Item:
      return run_item(s, st, err);
    case StepKind::Discount: {
      auto *f = st.percent ? o.desc_subtot_perc : o.desc_subtot;
      if (f == nullptr) return kMissingOperation;
      return s.call([&] { return f(st.value.c_str()); });
    }
    case StepKind::Surcharge: {
      auto *f = st.percent ? o.acres_subtot_perc : o.acresc_subtot;
      if (f == nullptr) return kMissingOperation;
      return s.call([&] { return f(st.value.c_str()); });
    }
    case StepKind::ItemDiscount:
    case StepKind::ItemSurcharge: {
      auto *f = st.kind == StepKind::ItemDiscount ? o.desc_item_pos : o.acresc_item_pos;
      if (f == nullptr) return kMissingOperation;
      if (int r = s.ensure_configured(); r != 0) return r;
      return s.call([&] { return f(st.number, st.value.c_str()); });
    }
    case StepKind::CancelItem:
      if (o.canc_item == nullptr) return kMissingOperation;
      return s.call([&] { return o.canc_item(static_cast<unsigned>(st.number)); });
    case StepKind::Total:
      if (o.imprime_total == nullptr) return kMissingOperation;
      if (int r = s.ensure_configured(); r != 0) return r;
      return s.call([&] { return o.imprime_total(nullptr); });
    case StepKind::Pay: {
      if (o.pagamento == nullptr) return kMissingOperation;
      if (int r = s.ensure_configured(); r != 0) return r;
      int method = st.number;
      if (method == 0) {
        int r = method_by_name(s, st.method_name, method, err);
        if (r != 0 || err) return r;
      }
      return s.call([&] {
        return o.pagamento(method, st.value.c_str(), st.text1.c_str(), st.text2.c_str());
      });
    }
    case StepKind::Promo: {
      if (o.publicit == nullptr) return kMissingOperation;
      if (int r = s.ensure_configured(); r != 0) return r;
      int idx = first_free_slot(s.record(), kPromoLines, kPromoSlots);
      if (idx < 0) {
        err = StepError{"8 promotional lines are already stored"};
        return 0;
      }
      return s.call([&] { return o.publicit(idx, st.text.c_str()); });
    }
    case StepKind::Close: {
      if (o.fim_venda == nullptr) return kMissingOperation;
      if (int r = s.ensure_configured(); r != 0) return r;
      const int r = s.call([&] { return o.fim_venda(); });
      if (r != 0 && r != kInterrupted) hint = underpaid_hint(s);
      return r;
    }
    case StepKind::Cancel: {
      if (o.canc_cupom == nullptr || o.le_estado_do_ecf == nullptr) return kMissingOperation;
      // With no receipt open the printer would cancel the last finished one:
      // that is cancel-last, asked for by its own name.
      unsigned char state = 0;
      if (int r = s.call([&] { return o.le_estado_do_ecf(&state); }); r != 0) return r;
      if (!fiscal_receipt_open(state)) {
        err = StepError{"no receipt is open (cancel-last cancels the last finished one)"};
        return 0;
      }
      return s.call([&] { return o.canc_cupom(); });
    }
    case StepKind::NfOpen:
    case StepKind::NfRegister:
    case StepKind::NfClose:
    case StepKind::NfCancel:
    case StepKind::LinkedOpen:
    case StepKind::LinkedLine:
    case StepKind::LinkedClose:
    case StepKind::ReportOpen:
    case StepKind::ReportLine:
    case StepKind::ReportClose:
      return run_document_step(s, st);
  }
  return kMissingOperation;
}

}  // namespace

Performed perform_step(Session &s, const Step &st, std::string_view label) {
  std::optional<StepError> err;
  std::string hint;
  int r = run_step(s, st, err, hint);
  if (err) {
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(label.size()), label.data(),
                 err->message.c_str());
    return {kExitUsage, false};
  }
  int code = report(s, label, r);
  if (code != kExitOk && !hint.empty()) std::fprintf(stderr, "  hint: %s\n", hint.c_str());
  // A time-out or a failed line after the frame went out: the printer may
  // have done it. The driver settles a repeated call from the printer's own
  // state; an item only within one run, as its check needs the subtotal
  // read before it was sent.
  const bool lost = r == 37 || r == 40;
  if (lost && st.kind == StepKind::Item)
    std::fprintf(stderr,
                 "  the printer may have taken the item: look at the paper and register it "
                 "again only if it is not there\n");
  else if (lost)
    std::fprintf(stderr,
                 "  the printer may have acted: run the same command again; the driver asks the "
                 "printer first and does it only if it was not done\n");
  if (code == kExitOk && s.save_failed()) return {kExitEnvironment, lost};
  return {code, lost};
}

int perform(Session &s, const Step &st, std::string_view label) {
  return perform_step(s, st, label).code;
}

namespace {

std::optional<std::string> read_script(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "ecfctl: cannot open %s\n", path.c_str());
    return std::nullopt;
  }
  std::string text(kMaxScriptBytes + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  if (text.size() > kMaxScriptBytes) {
    std::fprintf(stderr, "ecfctl: %s is larger than %zu bytes\n", path.c_str(), kMaxScriptBytes);
    return std::nullopt;
  }
  return text;
}

std::optional<std::vector<Step>> load_script(const std::string &path) {
  auto text = read_script(path);
  if (!text) return std::nullopt;
  ParseError pe;
  auto steps = parse_script(*text, pe);
  if (!steps) {
    std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), pe.line_no, pe.message.c_str());
    return std::nullopt;
  }
  return steps;
}

int cmd_check(const std::vector<std::string> &args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: ecfctl check SCRIPT\n");
    return kExitUsage;
  }
  auto steps = load_script(args[1]);
  if (!steps) return kExitUsage;
  if (auto pe = check_sale_order(*steps)) {
    std::fprintf(stderr, "%s:%d: %s\n", args[1].c_str(), pe->line_no, pe->message.c_str());
    return kExitUsage;
  }
  for (const auto &st : *steps) std::printf("%d: %s\n", st.line_no, describe(st).c_str());
  return kExitOk;
}

std::string total_paid(const Session &s) {
  if (s.ops().eight_to_text == nullptr) return {};
  std::array<char, 64> text{};
  s.ops().eight_to_text(text.data(), s.record().data() + kTotalPaid);
  std::string digits(text.data(), ::strnlen(text.data(), text.size()));
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return digits;
  return as_money(digits);
}

// sale SCRIPT [--from LINE]: the line to start from, 0 for all, -1 on error.
long sale_from(const std::vector<std::string> &args) {
  long from = 0;
  if (args.size() == 4 && args[2] == "--from") {
    char *end = nullptr;
    from = std::strtol(args[3].c_str(), &end, 10);
    if (end == args[3].c_str() || *end != '\0' || from < 1) from = -1;
  }
  if ((args.size() != 2 && args.size() != 4) || from < 0) {
    std::fprintf(stderr, "usage: ecfctl sale SCRIPT [--from LINE]\n");
    return -1;
  }
  return from;
}

int cmd_sale(Session &s, const std::vector<std::string> &args, const std::vector<Step> &steps,
             long from) {
  auto t0 = std::chrono::steady_clock::now();
  WireCount w0 = wire_count();
  for (const auto &st : steps) {
    if (st.line_no < from) continue;
    if (g_interrupted.load()) {
      std::fprintf(stderr,
                   "sale: interrupted before line %d; %s; go on with: ecfctl sale %s --from %d\n",
                   st.line_no, s.record_note().c_str(), args[1].c_str(), st.line_no);
      return kExitInterrupted;
    }
    std::string label = "line " + std::to_string(st.line_no) + ": " + st.source;
    const auto [code, lost] = perform_step(s, st, label);
    if (code == kExitInterrupted) {
      // The signal came between the line's reads and its printer operation.
      std::fprintf(stderr,
                   "sale: interrupted at line %d before its printer operation; %s; go on with: "
                   "ecfctl sale %s --from %d\n",
                   st.line_no, s.record_note().c_str(), args[1].c_str(), st.line_no);
    } else if (lost && st.kind == StepKind::Item) {
      std::fprintf(stderr,
                   "sale: stopped at line %d; %s; if the item is on the paper go on with: ecfctl "
                   "sale %s --from %d; if not, with --from %d\n",
                   st.line_no, s.record_note().c_str(), args[1].c_str(), st.line_no + 1,
                   st.line_no);
    } else if (lost) {
      // The same line again: the driver asks the printer whether it was done.
      std::fprintf(stderr, "sale: stopped at line %d; %s; go on with: ecfctl sale %s --from %d\n",
                   st.line_no, s.record_note().c_str(), args[1].c_str(), st.line_no);
    } else if (code != kExitOk) {
      std::fprintf(
          stderr,
          "sale: stopped at line %d; %s; finish that operation with single commands (as advised "
          "above, or ecfctl cancel), then go on with: ecfctl sale %s --from %d\n",
          st.line_no, s.record_note().c_str(), args[1].c_str(), st.line_no + 1);
    }
    if (code != kExitOk) return code;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  WireCount w1 = wire_count();
  uint64_t sent = w1.sent - w0.sent;
  uint64_t received = w1.received - w0.received;
  long speed = s.options().speed;
  double wire =
      speed > 0 ? static_cast<double>(sent + received) * 10.0 / static_cast<double>(speed) : 0.0;
  std::string coo = read_coo(s);
  std::printf(
      "sale: COO %s, paid %s, %.3f s (wire %.3f s: %llu bytes at %ld baud, %llu sent, %llu "
      "received)\n",
      coo.empty() ? "unknown" : coo.c_str(), total_paid(s).c_str(), seconds, wire,
      static_cast<unsigned long long>(sent + received), speed,
      static_cast<unsigned long long>(sent), static_cast<unsigned long long>(received));
  return kExitOk;
}

int cmd_status(Session &s) {
  const Ops &o = s.ops();
  const Globals &g = s.globals();
  int exit_code = kExitOk;
  if (o.le_status != nullptr) {
    int r = s.call([&] { return o.le_status(); });
    if (r == 0 && g.buffer_protocolo != nullptr && *g.buffer_protocolo != nullptr) {
      std::printf("printer: ok (ST1 %02Xh, ST2 %02Xh)\n", (*g.buffer_protocolo)[1],
                  (*g.buffer_protocolo)[2]);
    } else {
      exit_code = report(s, "printer", r);
    }
  }
  if (o.le_estado_do_ecf != nullptr && exit_code == kExitOk) {
    unsigned char state = 0;
    int r = s.call([&] { return o.le_estado_do_ecf(&state); });
    if (r == 0) {
      auto m = document_state_meaning(state);
      std::printf("document: %.*s (state %d)\n", static_cast<int>(m.size()), m.data(), state);
    } else {
      exit_code = report(s, "document", r);
    }
  }
  if (exit_code == kExitOk) {
    std::string coo = read_coo(s);
    if (!coo.empty()) std::printf("COO: %s\n", coo.c_str());
  }
  auto rec = s.record();
  auto m = record_document_meaning(rec[kDocumentState]);
  std::printf("record: document %d (%.*s), day %d\n", rec[kDocumentState],
              static_cast<int>(m.size()), m.data(), rec[kDayState]);
  return exit_code;
}

int cmd_config(Session &s) {
  int r = s.ensure_configured();
  if (r != 0) return report(s, "config", r);
  const Globals &g = s.globals();
  std::string name;
  if (g.cfg != nullptr)
    name = to_utf8(trim(std::string_view(reinterpret_cast<const char *>(g.cfg + 74), 20)));
  int model = g.modelo_ecf != nullptr ? *g.modelo_ecf : 0;
  bool mfd = g.flg_vers != nullptr && (*g.flg_vers & 1) != 0;
  int fw = g.versao_firmware != nullptr ? *g.versao_firmware : 0;
  std::printf("model: %s (code %d%s)\n", name.empty() ? "unknown" : name.c_str(), model,
              mfd ? ", MFD" : "");
  std::printf("firmware: %X.%02X\n", (fw >> 8) & 0xFF, fw & 0xFF);
  std::printf("columns: %d\n", g.num_col_ecf != nullptr ? *g.num_col_ecf : 0);
  return kExitOk;
}

int cmd_methods(Session &s) {
  const Ops &o = s.ops();
  if (o.le_forma_de_pagamento == nullptr) return report(s, "methods", kMissingOperation);
  if (int r = s.ensure_configured(); r != 0) return report(s, "methods", r);
  for (int i = 0; i < 50; ++i) {
    std::array<char, 32> buf{};
    int r = s.call([&] { return o.le_forma_de_pagamento(i, buf.data()); });
    if (r == 19) break;
    if (r != 0) return report(s, "methods", r);
    std::string name = trim(std::string_view(buf.data(), ::strnlen(buf.data(), 16)));
    if (!name.empty()) std::printf("%2d %s\n", i + 1, to_utf8(name).c_str());
  }
  return kExitOk;
}

int cmd_add_method(Session &s, const std::vector<std::string> &args) {
  if (args.size() != 2 || args[1].empty() || args[1].size() > 16) {
    std::fprintf(stderr, "usage: ecfctl add-method NAME   (at most 16 characters)\n");
    return kExitUsage;
  }
  auto *f = reinterpret_cast<int (*)(const char *)>(s.symbol("ECFBMTC_programa_forma_pagamento"));
  if (f == nullptr) return report(s, "add-method", kMissingOperation);
  if (int r = s.ensure_configured(); r != 0) return report(s, "add-method", r);
  return report(s, "add-method", s.call([&] { return f(args[1].c_str()); }));
}

void print_slots(std::span<const uint8_t> rec, size_t offset, int slots, const char *label) {
  for (int i = 0; i < slots; ++i) {
    const uint8_t *slot = rec.data() + offset + static_cast<size_t>(i) * kSlotSize;
    if (slot[0] == 0) continue;
    std::string text(reinterpret_cast<const char *>(slot + 1),
                     ::strnlen(reinterpret_cast<const char *>(slot + 1), 49));
    std::printf("%s %d: %s\n", label, i, to_utf8(text).c_str());
  }
}

std::string field(std::span<const uint8_t> rec, size_t offset, size_t width) {
  const char *p = reinterpret_cast<const char *>(rec.data() + offset);
  return to_utf8(std::string_view(p, ::strnlen(p, width)));
}

// What the record says, without talking to the printer.
int cmd_state(Session &s) {
  auto rec = s.record();
  auto m = record_document_meaning(rec[kDocumentState]);
  std::printf("document: %d (%.*s)\n", rec[kDocumentState], static_cast<int>(m.size()), m.data());
  std::printf("day: %d\n", rec[kDayState]);
  std::string doc = field(rec, kConsumerDocument, 30);
  if (!doc.empty()) std::printf("consumer document: %s\n", doc.c_str());
  std::string name = field(rec, kConsumerName, 31);
  if (!name.empty()) std::printf("consumer name: %s\n", name.c_str());
  std::string addr = field(rec, kConsumerAddress, 81);
  if (!addr.empty()) std::printf("consumer address: %s\n", addr.c_str());
  print_slots(rec, kDescriptionLines, kDescriptionSlots, "description line");
  print_slots(rec, kPromoLines, kPromoSlots, "promotional line");
  // The driver's count restarts at each total, not at the opening: before the
  // total it still holds the last receipt's payments (or those taken early).
  std::printf("paid since the last total: %s\n", total_paid(s).c_str());
  std::printf("linkable payments: %d\n", rec[kLinkablePayments]);
  int code = s.globals().o_que_repetir != nullptr ? *s.globals().o_que_repetir : 0;
  auto rm = repeat_meaning(code);
  std::printf("repeat: %d (%.*s)\n", code, static_cast<int>(rm.size()), rm.data());
  return kExitOk;
}

}  // namespace

std::string_view repeat_meaning(int code) {
  constexpr std::array<std::string_view, 14> names{
      "the last command",
      "opening with a report",
      "clock read",
      "manufacturing data",
      "non-fiscal receipt close",
      "linked receipt close",
      "report close",
      "receipt close",
      "non-fiscal receipt opening",
      "linked receipt opening",
      "receipt opening",
      "Reading X with a report",
      "Reduction Z",
      "totalling",
  };
  if (code < 0 || code >= static_cast<int>(names.size())) return "unknown";
  return names[static_cast<size_t>(code)];
}

void print_usage() {
  std::fputs(
      "usage: ecfctl [options] COMMAND [ARGUMENTS]\n"
      "\n"
      "options:\n"
      "  -d, --device PATH     serial device of the printer (default: $ECF_SERIAL_DEVICE)\n"
      "  -p, --port N          the host's port number (default: $ECF_SERIAL_PORT, else 1)\n"
      "  -b, --speed BPS       line speed (default: $ECF_SERIAL_SPEED, else 115200)\n"
      "  -o, --option TEXT     driver option, e.g. ECFBEMATECH_PROTOCOLO=1 (repeatable)\n"
      "  -P, --protocol basic|extended   shorthand for the protocol option\n"
      "  -l, --log-file PATH   driver log file\n"
      "  -m, --log-mode N      driver log bits (1 protocol, 2 interface calls)\n"
      "  -s, --state FILE      the driver's saved record (default ./ecfctl.state)\n"
      "  -L, --lib-dir DIR     where libecfhost.so.1 and libecfbmtc.so.1 are\n"
      "                        (default: $ECFCTL_LIB_DIR, else ../lib beside ecfctl,\n"
      "                        else the system's library path)\n"
      "  -q, --quiet           no progress line and no \"ok\" lines\n"
      "  -t, --timing          print the time taken and the time on the wire\n"
      "  -V, --version         print the version and exit\n"
      "\n"
      "commands:\n"
      "  status                printer status, open document, COO\n"
      "  config                model, firmware, columns\n"
      "  methods               the printer's payment methods\n"
      "  add-method NAME       program a payment method\n"
      "  state                 what the saved record holds (no printer)\n"
      "  check SCRIPT          check a sale script (no printer)\n"
      "  sale SCRIPT [--from LINE]   run a sale script (from a line on)\n"
      "  consumer DOCUMENT [NAME [ADDRESS]] | consumer -\n"
      "  appid TEXT\n"
      "  open\n"
      "  line TEXT             extra description line for the next item\n"
      "  item CODE DESCRIPTION TAX QUANTITY PRICE [discount=V] [unit=U] [decimals=3] "
      "[line=TEXT]...\n"
      "  discount VALUE|P%     on the subtotal;  surcharge VALUE|P%\n"
      "  item-discount ITEM VALUE;  item-surcharge ITEM VALUE;  cancel-item ITEM\n"
      "  total\n"
      "  pay METHOD AMOUNT [TEXT1 [TEXT2]]   METHOD: number or name\n"
      "  promo TEXT            promotional line for the close (\"!\" first: expanded)\n"
      "  close\n"
      "  cancel                cancel the open receipt (refused when none is open)\n",
      stdout);
  for (const Subcommand &c : registered_subcommands()) {
    std::printf("  %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
  }
  std::fputs(
      "\n"
      "exit status: 0 success, 1 refused by the driver or the printer, 2 usage or script error,\n"
      "3 libraries, state file or operation not available, 130 interrupted\n",
      stdout);
}

// Commands whose words are texts for the printer (or numbers, the same in
// both): converted to the driver's Latin-1 before they are checked, so
// lengths count letters. Sale operations convert as they are parsed.
constexpr std::array<std::string_view, 5> kTextCommands{"add-method", "x", "auth", "cheque",
                                                        "barcode"};

int run_command(const Options &options, const std::vector<std::string> &given) {
  std::vector<std::string> args = given;
  if (!args.empty() &&
      std::find(kTextCommands.begin(), kTextCommands.end(), args[0]) != kTextCommands.end() &&
      !args_to_latin1(args, 1, args[0])) {
    return kExitUsage;
  }
  if (args.empty()) {
    print_usage();
    return kExitUsage;
  }
  const std::string &cmd = args[0];
  if (cmd == "help") {
    print_usage();
    return kExitOk;
  }
  if (cmd == "check") return cmd_check(args);

  const Subcommand *sub = find_subcommand(cmd);
  if (sub != nullptr && sub->check != nullptr && !sub->check(args)) return kExitUsage;

  std::optional<Step> step;
  std::optional<std::vector<Step>> script;
  long from = 0;
  if (cmd == "sale") {
    // The whole script is checked before anything is loaded or sent.
    from = sale_from(args);
    if (from < 0) return kExitUsage;
    script = load_script(args[1]);
    if (!script) return kExitUsage;
  } else if (is_step_word(cmd)) {
    ParseError pe;
    step = parse_step(args, pe);
    if (!step) {
      // Some messages name the command already.
      const bool named = pe.message.rfind(cmd + ":", 0) == 0;
      std::fprintf(stderr, "%s%s%s\n", named ? "" : cmd.c_str(), named ? "" : ": ",
                   pe.message.c_str());
      return kExitUsage;
    }
  } else if (sub == nullptr && cmd != "status" && cmd != "config" && cmd != "methods" &&
             cmd != "add-method" && cmd != "state" && cmd != "sale") {
    std::fprintf(stderr, "ecfctl: unknown command \"%s\" (ecfctl help lists them)\n", cmd.c_str());
    return kExitUsage;
  }

  install_signal_handlers();
  Session s(options);
  if (!s.start()) return kExitEnvironment;
  // Like a point-of-sale host, read the configuration before any work: the
  // documents depend on the model. Not for the record alone, the status (it
  // must speak when the printer cannot be read) or a repeat (it would replace
  // the command to repeat).
  int code = kExitOk;
  if (cmd != "state" && cmd != "status" && cmd != "repeat") {
    if (int r = s.ensure_configured(); r != 0) code = report(s, "config", r);
  }
  if (code != kExitOk) {
    // The configuration could not be read: nothing else runs.
  } else if (sub != nullptr) {
    code = sub->run(s, args);
  } else if (step) {
    code = perform(s, *step, cmd);
  } else if (cmd == "status") {
    code = cmd_status(s);
  } else if (cmd == "config") {
    code = cmd_config(s);
  } else if (cmd == "methods") {
    code = cmd_methods(s);
  } else if (cmd == "add-method") {
    code = cmd_add_method(s, args);
  } else if (cmd == "state") {
    code = cmd_state(s);
  } else if (cmd == "sale") {
    code = cmd_sale(s, args, *script, from);
  }
  s.sync();  // what calls that sent nothing changed
  if (options.timing) s.print_timing(stderr);
  if (g_interrupted.load()) {
    std::fprintf(stderr, "ecfctl: interrupted by a signal; no printer call started after it; %s\n",
                 s.record_note().c_str());
    return kExitInterrupted;
  }
  if (code == kExitOk && s.save_failed()) code = kExitEnvironment;
  return code;
}

}  // namespace ecfctl
