// Printer: dispatch of one decoded command to its family, and the status
// bits every answer carries.
#include "core/printer.h"

#include <array>

#include "core/printer_state.h"

namespace ecfsim {
namespace {

constexpr uint16_t ext(uint8_t sub) {
  return static_cast<uint16_t>(62 * 256 + sub);
}

enum : uint8_t { kPrints = 1, kMfdOnly = 2, kOpensDay = 4 };

struct CommandInfo {
  uint16_t command;
  uint8_t flags;
  uint16_t data_len;  // fixed data of the answer (sent before the status)
};

constexpr std::array<CommandInfo, 55> kCommands{{
    {0, kPrints | kOpensDay, 0},
    {5, kPrints, 0},
    {6, kPrints, 0},
    {7, 0, 0},
    {8, kPrints, 0},
    {9, kPrints, 0},
    {14, kPrints, 0},
    {16, kPrints, 0},
    {18, 0, 0},
    {19, 0, 0},
    {20, kPrints, 0},
    {21, kPrints, 0},
    {22, 0, 0},
    {23, 0, 1},
    {25, kPrints | kOpensDay, 0},
    {26, 0, 33},
    {27, 0, 219},
    {29, 0, 7},
    {30, 0, 3},
    {31, kPrints, 0},
    {32, kPrints, 0},
    {34, kPrints, 0},
    {35, 0, 0},
    {56, kPrints, 0},
    {57, kPrints, 0},
    {58, 0, 0},
    {59, 0, 0},
    {63, kPrints, 0},
    {66, kPrints | kOpensDay, 0},
    {67, kPrints, 0},
    {69, 0, 0},
    {71, 0, 2},
    {72, kPrints, 0},
    {76, 0, 39},
    {77, kPrints | kMfdOnly | kOpensDay, 0},
    {78, kPrints | kMfdOnly, 0},
    {79, kPrints | kMfdOnly, 0},
    {81, kPrints | kMfdOnly, 0},
    {83, kPrints | kMfdOnly | kOpensDay, 0},
    {87, kMfdOnly, 436},
    {88, kMfdOnly, 621},
    {91, kPrints | kMfdOnly, 0},
    {92, kPrints | kMfdOnly, 0},
    {93, kPrints | kMfdOnly, 0},
    {114, kPrints | kMfdOnly, 0},
    {ext(48), 0, 1},
    {ext(49), 0, 0},
    {ext(52), 0, 0},
    {ext(54), 0, 2},
    {ext(55), 0, 308},
    {ext(60), kMfdOnly, 0},
    {ext(64), kMfdOnly, 0},
    {ext(73), kPrints | kMfdOnly, 0},
    {ext(87), kPrints | kMfdOnly, 0},
    {kDetailTapeDownload, kMfdOnly, 0},
}};

const CommandInfo *find_command(uint16_t c) {
  for (const auto &ci : kCommands) {
    if (ci.command == c) return &ci;
  }
  return nullptr;
}

}  // namespace

Printer::State::State(PrinterConfig c)
    : config(std::move(c)),
      model(find_model(config.model_code) ? find_model(config.model_code) : find_model(12)),
      paper(recording_on(detail_tape, config.paper), model->columns) {
  settings.rates = {1800, 1200, 2500, 500};
  settings.iss_flags = 1u << (15 - 3);  // rate 04 is a service tax rate
  settings.payment_methods = {"Dinheiro", "Cheque", "Cartao Credito"};
  settings.nonfiscal_names.assign(kNonFiscalTotalizers, std::string());
  settings.nonfiscal_names[0] = "Sangria";
  settings.nonfiscal_names[1] = "Suprimento";
  settings.nonfiscal_names[2] = "Recebimento";
  settings.nonfiscal_names[3] = "Conta de Luz";
  settings.header = "LOJA EXEMPLO LTDA\nRUA DAS FLORES, 100 - CENTRO\nCURITIBA - PR";
}

Printer::Printer(PrinterConfig config) : state_(std::make_unique<State>(std::move(config))) {
  // The printer's own model wins over an unknown code.
  state_->config.model_code = state_->model->code;
}

Printer::~Printer() = default;

PrinterFaults &Printer::faults() {
  return state_->faults;
}
int Printer::model_code() const {
  return state_->model->code;
}
bool Printer::is_mfd() const {
  return state_->mfd();
}
int Printer::columns() const {
  return state_->columns();
}

std::string Printer::save() const {
  return serialize(*state_);
}

bool Printer::load(std::string_view bytes) {
  State fresh(state_->config);
  if (!deserialize(bytes, fresh)) return false;
  fresh.faults = state_->faults;
  *state_ = std::move(fresh);
  return true;
}

namespace {

Reply dispatch(State &s, uint16_t c, std::string_view a) {
  switch (c) {
    case 0:
      return open_receipt(s, a);
    case 5:
      return reduction_z(s, a);
    case 6:
      return reading_x(s);
    case 7:
      return program_rate(s, a);
    case 8:
      return fiscal_memory_reading(s, a);
    case 9:
    case 56:
    case 63:
    case ext(73):
    case ext(87):
      return register_item(s, c, a);
    case 14:
      return cancel_receipt(s, a);
    case 16:
      return authentication(s, a);
    case 18:
      return toggle_daylight(s);
    case 19:
      return status_read(s);
    case 20:
      return report_text(s, a);
    case 21:
      return close_document(s);
    case 22:
      return open_drawer(s, a);
    case 23:
      return drawer_sensor(s);
    case 25:
      return nonfiscal_voucher(s, a);
    case 26:
      return read_rates(s);
    case 27:
      return totalizers(s);
    case 29:
      return receipt_subtotal(s);
    case 30:
      return last_coo(s);
    case 31:
      return cancel_item(s, a);
    case 32:
      return begin_totalling(s, a);
    case 34:
      return close_receipt(s, a);
    case 35:
      return read_variable(s, a);
    case 57:
      return cheque(s, a);
    case 58:
      return currency_name(s, false, a);
    case 59:
      return currency_name(s, true, a);
    case 66:
      return open_linked(s, a);
    case 67:
      return linked_text(s, a);
    case 69:
      return reading_x_stream(s);
    case 71:
      return program_payment_method(s, a);
    case 72:
      return payment(s, a);
    case 76:
      return read_cmc7(s, a);
    case 77:
      return open_nonfiscal(s, a);
    case 78:
      return register_nonfiscal(s, a);
    case 79:
      return total_nonfiscal(s, a);
    case 81:
      return cancel_nonfiscal(s, a);
    case 83:
      return open_report(s, a);
    case 87:
      return day_totals(s);
    case 88:
      return reduction_data(s);
    case 91:
      return linked_copy(s, true);
    case 92:
      return linked_copy(s, false);
    case 93:
      return item_adjustment(s, a);
    case 114:
      return cancel_item_adjustment(s, a);
    case ext(48):
      return slot_status(s);
    case ext(49):
      return release_document(s);
    case ext(52):
      return long_description(s, a);
    case ext(54):
      return ok(bcd(s.counters.crz, 2), Layout::DataFirst);
    case ext(55):
      return older_reduction_data(s);
    case ext(60):
      return item_line_mode(s, a);
    case ext(64):
      return application_id(s, a);
    case kDetailTapeDownload:
      return detail_tape_download(s, a);
    default:
      return unknown_command();
  }
}

}  // namespace

Reply Printer::execute(uint16_t command, std::string_view args) {
  State &s = *state_;
  const CommandInfo *ci = find_command(command);
  // A streamed fiscal-memory reading goes to the line, not to the paper.
  const bool streamed = command == 8 && args.size() == 13 && (args[12] == 'R' || args[12] == 'r');
  const bool prints = ci && (ci->flags & kPrints) && !streamed;
  Reply r;
  if (!ci || (ci->flags & kMfdOnly && !s.mfd())) {
    r = unknown_command();
  } else if (prints && s.faults.paper_out) {
    r = refuse(st1::kPaperEnd, 0, exec::kOutOfPaper);
  } else if (prints && (s.faults.head_lifted || s.faults.offline)) {
    r = refuse(st1::kPrinterError, 0, s.faults.head_lifted ? exec::kHeadLifted : exec::kOffLine);
  } else if (ci->flags & kOpensDay && fiscal_memory_full(s)) {
    r = refuse(0, st2::kFiscalMemoryFull);
  } else if (ci->flags & kOpensDay && s.doc.kind == Doc::None && reduction_due(s)) {
    r = refuse(0, 0, exec::kBlockedUntilReduction);
  } else {
    r = dispatch(s, command, args);
  }
  // Fixed-length answers keep their length when refused, so the reader
  // that waits for the data is never left short.
  if (ci && ci->data_len && r.data.size() != ci->data_len) {
    r.data.resize(ci->data_len, '\0');
  }
  if (ci && ci->data_len) r.layout = Layout::DataFirst;
  if (s.faults.paper_out) r.st1 |= st1::kPaperEnd;
  if (s.faults.paper_near_end) r.st1 |= st1::kPaperNearEnd;
  if (s.faults.head_lifted || s.faults.offline) r.st1 |= st1::kPrinterError;
  if (s.doc.kind == Doc::Fiscal) r.st1 |= st1::kReceiptOpen;
  if (fiscal_memory_full(s)) r.st2 |= st2::kFiscalMemoryFull;
  return r;
}

}  // namespace ecfsim
