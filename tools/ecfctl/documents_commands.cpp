#include "documents_commands.h"

#include <array>
#include <cstring>

#include "latin1.h"
#include "registry.h"
#include "script.h"
#include "session.h"

namespace ecfctl {
namespace {

constexpr size_t kCodeCnf = BMTCLOCAL_D_CODIGO_CNF;
constexpr size_t kValueCnf = BMTCLOCAL_D_VALOR_CNF;
constexpr size_t kLinkableCount = BMTCLOCAL_D_QTD_PAGTOS_VINCULAVEIS;
constexpr int kMaxLinkable = BMTCLOCAL_D_MAX_PAGTOS;
constexpr size_t kLinkableSize = BMTCLOCAL_D_TAM_PAGTO;

extern "C" {
using fn_int_int = int(int);
using fn_le_vinculavel = int(int index, void *record);
}

// A driver operation by its exported name; null when the driver lacks it.
template <typename F>
F *op(const Session &s, const char *name) {
  return reinterpret_cast<F *>(s.symbol(name));
}

template <typename F, typename... A>
int call(Session &s, const char *name, A... args) {
  F *f = op<F>(s, name);
  if (f == nullptr) return kMissingOperation;
  return s.call([&] { return f(args...); });
}

int32_t record_code(const Session &s) {
  int32_t v = 0;
  std::memcpy(&v, s.record().data() + kCodeCnf, sizeof v);
  return v;
}

bool amount_registered(const Session &s) {
  if (s.ops().eight_to_text == nullptr) return true;
  std::array<char, 64> text{};
  s.ops().eight_to_text(text.data(), s.record().data() + kValueCnf);
  return std::strcmp(text.data(), "0") != 0;
}

// A simulated receipt left nothing on the printer: its amount is dropped and
// the close then prints nothing. A real one is cancelled on the printer.
int cancel_nonfiscal(Session &s) {
  auto *simulated = op<fn_int_int>(s, "BMTCLOCAL_cnf_eh_simulado");
  if (simulated == nullptr) return kMissingOperation;
  const int32_t code = record_code(s);
  if (simulated(code)) {
    auto *reg = op<fn_int_int_text>(s, "ECFBMTC_registra_em_cnf");
    if (reg == nullptr) return kMissingOperation;
    s.call([&] { return reg(code, "0"); });
    return call<fn_int_void>(s, "ECFIF_fim_cnf");
  }
  if (amount_registered(s)) return call<fn_int_void>(s, "ECFIF_canc_cupom");
  return call<fn_int_void>(s, "ECFIF_fim_cnf");
}

bool parse_count(const std::string &text, int &out) {
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  out = std::stoi(text);
  return true;
}

int print_line(Session &s, const std::string &text) {
  if (!text.empty() && text[0] == '!')
    return call<fn_int_text>(s, "ECFIF_imprime_expandido", text.c_str() + 1);
  return call<fn_int_text>(s, "ECFIF_imprime_linha", text.c_str());
}

int open_report(Session &s, int type) {
  auto *typed = op<fn_int_void>(s, "ECFIF_tem_relger");
  if (typed == nullptr) return kMissingOperation;
  if (typed() == 0) {
    // These printers open the report with its first text.
    if (!s.options().quiet) std::printf("report-open: the first line opens the report\n");
    return 0;
  }
  if (type > 0) {
    auto *setting = static_cast<int *>(s.symbol("ECFBMTC_tipo_relger"));
    if (setting == nullptr) return kMissingOperation;
    *setting = type;
  }
  return call<fn_int_void>(s, "ECFIF_abre_relatorio");
}

// The words are checked before anything is loaded; run the step again from
// them here.
int run_words(Session &s, const std::vector<std::string> &args) {
  ParseError pe;
  auto step = parse_step(args, pe);
  if (!step) return kExitUsage;
  return perform(s, *step, args[0]);
}

// What the record keeps for linked receipts, newest last (no printer).
int cmd_linkable(Session &s, const std::vector<std::string> &) {
  auto *read = op<fn_le_vinculavel>(s, "ECFBMTC_le_vinculavel");
  if (read == nullptr) return report(s, "linkable", kMissingOperation);
  const int count = std::min<int>(s.record()[kLinkableCount], kMaxLinkable);
  for (int i = 0; i < count; ++i) {
    std::array<char, kLinkableSize> rec{};
    if (read(i, rec.data()) != 0) break;
    const std::string coo(rec.data(), 6);
    std::string amount(rec.data() + 7, 14);
    amount.erase(0, std::min(amount.find_first_not_of('0'), amount.size()));
    const std::string name = trim(std::string_view(rec.data() + 22, 16));
    std::printf("%d: COO %s, %s %s\n", i, coo.c_str(), to_utf8(name).c_str(),
                as_money(amount).c_str());
  }
  if (count == 0) std::printf("no stored payment for a linked receipt\n");
  return kExitOk;
}

int cmd_linked_copy(Session &s, const std::vector<std::string> &) {
  if (int r = s.ensure_configured(); r != 0) return report(s, "linked-copy", r);
  return report(s, "linked-copy", call<fn_int_void>(s, "ECFIF_copia_de_cnf_vinculado"));
}

// feed [N]: N blank lines in the open linked receipt or report; none or 0
// prints what is buffered and ends its text (with the cut).
int cmd_feed(Session &s, const std::vector<std::string> &args) {
  int lines = 0;
  if (args.size() > 2 || (args.size() == 2 && !parse_count(args[1], lines))) {
    std::fprintf(stderr, "usage: ecfctl feed [N]   (N from 0 to 99)\n");
    return kExitUsage;
  }
  if (int r = s.ensure_configured(); r != 0) return report(s, "feed", r);
  return report(s, "feed", call<fn_int_int>(s, "ECFIF_espaceja", lines));
}

const Registrar kDocuments{{
    {"nf-open", "nf-open TOTALIZER     open a non-fiscal receipt", run_words},
    {"nf-register", "nf-register TOTALIZER AMOUNT   register an amount (then total, pay)",
     run_words},
    {"nf-close", "nf-close              close the non-fiscal receipt", run_words},
    {"nf-cancel", "nf-cancel             cancel the non-fiscal receipt", run_words},
    {"linked-open", "linked-open           open a linked receipt on the last card payment",
     run_words},
    {"linked-line", "linked-line TEXT      a line of it (\"!\" first: expanded)", run_words},
    {"linked-close", "linked-close          close the linked receipt", run_words},
    {"feed", "feed [N]              N blank lines; none: print the text and end it", cmd_feed},
    {"linked-copy", "linked-copy           reprint the last linked receipt", cmd_linked_copy},
    {"linkable", "linkable              payments a linked receipt can refer to (no printer)",
     cmd_linkable},
    {"report-open", "report-open [TYPE]    open a management report (type 1..99)", run_words},
    {"report-line", "report-line TEXT      a line of it (\"!\" first: expanded)", run_words},
    {"report-close", "report-close          close the management report", run_words},
}};

}  // namespace

int run_document_step(Session &s, const Step &st) {
  if (int r = s.ensure_configured(); r != 0) return r;
  switch (st.kind) {
    case StepKind::NfOpen:
      return call<fn_int_uint>(s, "ECFIF_inicia_cnf", static_cast<unsigned>(st.number));
    case StepKind::NfRegister:
      return call<fn_int_int_text>(s, "ECFBMTC_registra_em_cnf", st.number, st.value.c_str());
    case StepKind::NfClose:
      return call<fn_int_void>(s, "ECFIF_fim_cnf");
    case StepKind::NfCancel:
      return cancel_nonfiscal(s);
    case StepKind::LinkedOpen:
      return call<fn_int_void>(s, "ECFIF_cnf_vinculado");
    case StepKind::LinkedLine:
    case StepKind::ReportLine:
      return print_line(s, st.text);
    case StepKind::LinkedClose:
      return call<fn_int_void>(s, "ECFIF_fim_cnf_vinc");
    case StepKind::ReportOpen:
      return open_report(s, st.number);
    case StepKind::ReportClose:
      return call<fn_int_void>(s, "ECFIF_fim_relat");
    default:
      return kMissingOperation;
  }
}

}  // namespace ecfctl
