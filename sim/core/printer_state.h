// The printer's memory and the helpers every command family shares.
// Private to sim/core.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/detail_tape.h"
#include "core/model_table.h"
#include "core/paper.h"
#include "core/printer.h"
#include "core/status_bits.h"

namespace ecfsim {

// Amounts are whole cents.
using Money = int64_t;

constexpr int kRates = 16;
// Tax buckets: 0-15 programmed rates, then the fixed situations.
enum Bucket : int { kFF = 16, kII = 17, kNN = 18, kSF = 19, kSI = 20, kSN = 21, kBuckets = 22 };
constexpr int kMaxItems = 999;
constexpr int kMaxPayments = 30;
constexpr int kNonFiscalTotalizers = 30;
constexpr int kMaxPaymentMethodsOlder = 50;
constexpr int kMaxPaymentMethodsMfd = 20;
constexpr size_t kMaxTextLen = 620;                    // one text command's worth
constexpr int64_t kMaxReceiptAmount = 99999999999999;  // 14 digits

enum class Doc : uint8_t { None, Fiscal, NonFiscal, Linked, Report };

struct Item {
  std::string code;
  std::string description;
  std::string unit;
  int bucket = 0;
  int64_t quantity_milli = 0;
  int64_t unit_price = 0;  // in price_decimals
  int price_decimals = 2;
  Money amount = 0;
  Money discount = 0;
  Money surcharge = 0;
  bool cancelled = false;
};

struct Payment {
  int method = 0;  // 1-based
  Money amount = 0;
};

// Everything a receipt or report has open.
struct OpenDoc {
  Doc kind = Doc::None;
  uint32_t coo = 0;
  std::vector<Item> items;
  std::string pending_description;  // long description for the next item
  bool totalled = false;
  Money subtotal_discount = 0;
  Money subtotal_surcharge = 0;
  std::vector<Payment> payments;
  Money paid = 0;
  // Non-fiscal receipt: registrations by totalizer index (0-based).
  std::vector<std::pair<int, Money>> registrations;
  int report_type = 0;
};

// What a closed fiscal receipt put in each bucket, kept so that it can be
// cancelled afterwards.
struct ClosedReceipt {
  uint32_t coo = 0;
  std::array<Money, kBuckets> buckets{};
  std::vector<Payment> payments;
  Money total = 0;
};

// A payment a linked receipt may refer to.
struct Linkable {
  uint32_t coo = 0;
  int method = 0;
  Money amount = 0;
  bool used = false;
};

struct DayTotals {
  std::array<Money, kBuckets> buckets{};
  Money cancel_icms = 0, cancel_iss = 0;
  Money discount_icms = 0, discount_iss = 0;
  Money surcharge_icms = 0, surcharge_iss = 0;
  std::array<Money, kNonFiscalTotalizers> nonfiscal{};
  Money withdrawal = 0, entry = 0;
  std::array<Money, kMaxPaymentMethodsOlder> by_method{};
};

// One reduction's record in the fiscal memory.
struct ReductionRecord {
  uint16_t crz = 0;
  uint16_t cro = 0;
  uint32_t coo = 0;
  uint32_t gnf = 0;
  uint32_t ccf = 0;
  uint16_t cfc = 0;
  uint16_t cdc = 0;
  std::array<uint8_t, 3> day{};      // BCD day, month, year of the movement
  std::array<uint8_t, 6> made_at{};  // BCD date and time of the reduction
  Money grand_total = 0;
  std::array<uint16_t, kRates> rates{};  // percent with 2 decimals
  uint16_t iss_flags = 0;
  DayTotals totals;
};

struct Settings {
  std::array<uint16_t, kRates> rates{};      // 0 = not programmed
  uint16_t iss_flags = 0;                    // bit 15 - i set: rate i is ISS
  std::vector<std::string> payment_methods;  // names, at most 50
  std::vector<std::string> nonfiscal_names;  // 30 entries
  std::string header;                        // lines separated by '\n'
  std::string cnpj = "12.345.678/0001-95";
  std::string ie = "123.456.789.111";
  std::string im = "987654321";
  uint8_t multiplication_mode = 0;  // 0 truncates, 0xFF rounds
  uint16_t owner = 1;
  std::string currency_singular = "Real";
  std::string currency_plural = "Reais";
  std::string app_id;
  int item_line_mode = 0;
};

struct Counters {
  uint32_t coo = 0;
  uint32_t gnf = 0;
  uint32_t ccf = 0;
  uint32_t grg = 0;
  uint32_t cdc = 0;
  uint16_t cfc = 0;  // fiscal receipts cancelled
  uint16_t crz = 0;
  uint16_t cro = 1;
};

// The document slot of the models that print on inserted documents.
enum class Slot : uint8_t { Inserted, Printing, Released, Empty };

struct Printer::State {
  PrinterConfig config;
  const ModelInfo *model = nullptr;
  PrinterFaults faults;

  Settings settings;
  Counters counters;
  Money grand_total = 0;
  DayTotals day;
  std::array<uint8_t, 3> day_date{};  // BCD; zero until the day's first movement
  int64_t clock_offset = 0;
  bool daylight = false;
  bool drawer_open = false;
  Slot slot = Slot::Inserted;

  OpenDoc doc;
  ClosedReceipt last_receipt;
  bool previous_cancellable = false;
  std::vector<Linkable> linkable;
  std::vector<std::string> last_linked_text;  // for second copy / reprint
  std::vector<ReductionRecord> fiscal_memory;

  std::shared_ptr<DetailTape> detail_tape = std::make_shared<DetailTape>();
  Paper paper;

  explicit State(PrinterConfig c);
  bool mfd() const { return model_is_mfd(model->code); }
  int columns() const { return model->columns; }
  int max_payment_methods() const {
    return mfd() ? kMaxPaymentMethodsMfd : kMaxPaymentMethodsOlder;
  }
  size_t fiscal_memory_capacity() const { return mfd() ? 2046 : 2280; }
};

using State = Printer::State;

// Reply helpers: the status bits the printer always shows are added by
// the dispatcher.
Reply ok(std::string data = {}, Layout layout = Layout::StatusFirst);
Reply refuse(uint8_t st1_bits, uint8_t st2_bits, uint16_t exec_status = 0);
inline Reply bad_count() {
  return refuse(st1::kParameterCount, 0);
}
inline Reply bad_param() {
  return refuse(0, st2::kInvalidParameter);
}
inline Reply unknown_command() {
  return refuse(st1::kUnknownCommand, 0);
}

// Text and number helpers.
bool parse_digits(std::string_view s, int64_t &out);
std::string bcd(uint64_t value, int bytes);
uint64_t from_bcd(std::string_view bytes);
std::string money_text(Money cents);
std::string trim(std::string_view s);
std::string pad_right(std::string_view s, size_t width);
std::string zeros(size_t n);

// Clock: local civil time of the printer, in seconds since the epoch.
int64_t now(const State &s);
struct Civil {
  int year, month, day, hour, minute, second;
};
Civil civil_from_seconds(int64_t t);
int64_t days_from_civil(int year, int month, int day);
std::array<uint8_t, 3> bcd_date(const Civil &c);
std::string date_text(const std::array<uint8_t, 3> &d);  // dd/mm/yyyy

// Books and counters.
uint32_t next_coo(State &s);
void begin_movement(State &s);
bool reduction_due(const State &s);
bool fiscal_memory_full(const State &s);
bool is_iss(const State &s, int bucket);
Money subtotal(const OpenDoc &d);
// The payments as booked: the change comes out of the last one.
std::vector<Payment> net_payments(const OpenDoc &d);

// Paper layout shared by documents.
void print_header(State &s, std::string_view title, uint32_t coo);
void print_footer(State &s);

// Command families. Each returns the reply; the dispatcher adds the
// standing status bits.
Reply read_variable(State &s, std::string_view args);
Reply status_read(State &s);
Reply open_drawer(State &s, std::string_view args);
Reply drawer_sensor(State &s);
Reply toggle_daylight(State &s);
Reply read_rates(State &s);
Reply program_rate(State &s, std::string_view args);
Reply program_payment_method(State &s, std::string_view args);

Reply open_receipt(State &s, std::string_view args);
Reply long_description(State &s, std::string_view args);
Reply register_item(State &s, uint16_t command, std::string_view args);
Reply cancel_item(State &s, std::string_view args);
Reply begin_totalling(State &s, std::string_view args);
Reply item_adjustment(State &s, std::string_view args);
Reply cancel_item_adjustment(State &s, std::string_view args);
Reply payment(State &s, std::string_view args);
Reply last_coo(State &s);
Reply receipt_subtotal(State &s);
Reply close_receipt(State &s, std::string_view args);
Reply cancel_receipt(State &s, std::string_view args);
// Cancels whatever document is open, as a reduction does before it runs.
void cancel_open_document(State &s);
void commit_nonfiscal(State &s, const OpenDoc &d);

Reply open_nonfiscal(State &s, std::string_view args);
Reply register_nonfiscal(State &s, std::string_view args);
Reply total_nonfiscal(State &s, std::string_view args);
Reply cancel_nonfiscal(State &s, std::string_view args);
Reply nonfiscal_voucher(State &s, std::string_view args);
Reply open_linked(State &s, std::string_view args);
Reply linked_text(State &s, std::string_view args);
Reply close_document(State &s);
Reply linked_copy(State &s, bool second_copy);
Reply open_report(State &s, std::string_view args);
Reply report_text(State &s, std::string_view args);
Reply authentication(State &s, std::string_view args);
Reply cheque(State &s, std::string_view args);
Reply currency_name(State &s, bool plural, std::string_view args);
Reply read_cmc7(State &s, std::string_view args);
Reply slot_status(State &s);
Reply release_document(State &s);
Reply application_id(State &s, std::string_view args);
Reply item_line_mode(State &s, std::string_view args);

Reply reading_x(State &s);
Reply reading_x_stream(State &s);
Reply reduction_z(State &s, std::string_view args);
Reply fiscal_memory_reading(State &s, std::string_view args);
Reply detail_tape_download(State &s, std::string_view args);
Reply totalizers(State &s);
Reply day_totals(State &s);
Reply reduction_data(State &s);
Reply older_reduction_data(State &s);

// Serialization of the whole state.
std::string serialize(const State &s);
bool deserialize(std::string_view bytes, State &s);

}  // namespace ecfsim
