// The printer's memory as bytes for the state file: a tagged, versioned
// layout with a checksum, read back with every length checked.
#include <cstring>

#include "core/printer_state.h"

namespace ecfsim {
namespace {

constexpr std::string_view kMagic = "ECFSIM-STATE";
constexpr uint32_t kVersion = 2;
constexpr uint32_t kMaxCount = 100000;  // no list in the state is longer
constexpr int64_t kMaxAmount = 999999999999999999;
constexpr int64_t kMaxClockOffset = int64_t{200} * 366 * 86400;

class Writer {
 public:
  void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
  }
  void i64(int64_t v) {
    const auto x = static_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) u8(static_cast<uint8_t>(x >> (8 * i)));
  }
  void str(std::string_view s) {
    u32(static_cast<uint32_t>(s.size()));
    out_.append(s);
  }
  std::string &bytes() { return out_; }

 private:
  std::string out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  bool ok() const { return ok_; }
  bool at_end() const { return pos_ == in_.size(); }
  uint8_t u8() {
    if (pos_ >= in_.size()) {
      ok_ = false;
      return 0;
    }
    return static_cast<uint8_t>(in_[pos_++]);
  }
  uint32_t u32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(u8()) << (8 * i);
    return v;
  }
  int64_t i64() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(u8()) << (8 * i);
    return static_cast<int64_t>(v);
  }
  // An amount: at most 18 digits, so that the books' sums stay in range.
  int64_t money() {
    const int64_t v = i64();
    if (v > kMaxAmount || v < -kMaxAmount) ok_ = false;
    return ok_ ? v : 0;
  }
  std::string str() {
    const uint32_t n = u32();
    if (!ok_ || n > in_.size() - pos_) {
      ok_ = false;
      return {};
    }
    std::string s(in_.substr(pos_, n));
    pos_ += n;
    return s;
  }
  uint32_t count(uint32_t limit = kMaxCount) {
    const uint32_t n = u32();
    if (n > limit) ok_ = false;
    return ok_ ? n : 0;
  }
  void fail() { ok_ = false; }

 private:
  std::string_view in_;
  size_t pos_ = 0;
  bool ok_ = true;
};

void put(Writer &w, const DayTotals &d) {
  for (Money m : d.buckets) w.i64(m);
  for (Money m : {d.cancel_icms, d.cancel_iss, d.discount_icms, d.discount_iss, d.surcharge_icms,
                  d.surcharge_iss, d.withdrawal, d.entry})
    w.i64(m);
  for (Money m : d.nonfiscal) w.i64(m);
  for (Money m : d.by_method) w.i64(m);
}

void get(Reader &r, DayTotals &d) {
  for (Money &m : d.buckets) m = r.money();
  for (Money *m : {&d.cancel_icms, &d.cancel_iss, &d.discount_icms, &d.discount_iss,
                   &d.surcharge_icms, &d.surcharge_iss, &d.withdrawal, &d.entry})
    *m = r.money();
  for (Money &m : d.nonfiscal) m = r.money();
  for (Money &m : d.by_method) m = r.money();
}

void put(Writer &w, const std::vector<Payment> &ps) {
  w.u32(static_cast<uint32_t>(ps.size()));
  for (const auto &p : ps) {
    w.u32(static_cast<uint32_t>(p.method));
    w.i64(p.amount);
  }
}

bool method_ok(int m) {
  return m >= 1 && m <= kMaxPaymentMethodsOlder;
}

void get(Reader &r, std::vector<Payment> &ps) {
  const uint32_t n = r.count(kMaxPayments);
  for (uint32_t i = 0; i < n && r.ok(); ++i) {
    Payment p;
    p.method = static_cast<int>(r.u32());
    p.amount = r.money();
    if (!method_ok(p.method)) r.fail();
    ps.push_back(p);
  }
}

void put(Writer &w, const std::array<uint8_t, 3> &a) {
  for (uint8_t b : a) w.u8(b);
}

void get(Reader &r, std::array<uint8_t, 3> &a) {
  for (uint8_t &b : a) b = r.u8();
}

uint32_t checksum(std::string_view bytes) {
  uint32_t h = 2166136261u;
  for (char c : bytes) {
    h ^= static_cast<uint8_t>(c);
    h *= 16777619u;
  }
  return h;
}

}  // namespace

std::string serialize(const State &s) {
  Writer w;
  w.str(kMagic);
  w.u32(kVersion);
  w.u32(static_cast<uint32_t>(s.model->code));

  const Settings &st = s.settings;
  for (uint16_t r : st.rates) w.u32(r);
  w.u32(st.iss_flags);
  w.u32(static_cast<uint32_t>(st.payment_methods.size()));
  for (const auto &m : st.payment_methods) w.str(m);
  w.u32(static_cast<uint32_t>(st.nonfiscal_names.size()));
  for (const auto &m : st.nonfiscal_names) w.str(m);
  for (const std::string *t : {&st.header, &st.cnpj, &st.ie, &st.im, &st.currency_singular,
                               &st.currency_plural, &st.app_id})
    w.str(*t);
  w.u8(st.multiplication_mode);
  w.u32(st.owner);
  w.u32(static_cast<uint32_t>(st.item_line_mode));

  const Counters &k = s.counters;
  for (uint32_t v :
       {k.coo, k.gnf, k.ccf, k.grg, k.cdc, uint32_t{k.cfc}, uint32_t{k.crz}, uint32_t{k.cro}})
    w.u32(v);
  w.i64(s.grand_total);
  put(w, s.day);
  put(w, s.day_date);
  w.i64(s.clock_offset);
  w.u8(s.daylight);
  w.u8(s.previous_cancellable);

  const OpenDoc &d = s.doc;
  w.u8(static_cast<uint8_t>(d.kind));
  w.u32(d.coo);
  w.u32(static_cast<uint32_t>(d.items.size()));
  for (const auto &it : d.items) {
    w.str(it.code);
    w.str(it.description);
    w.str(it.unit);
    w.u32(static_cast<uint32_t>(it.bucket));
    w.i64(it.quantity_milli);
    w.i64(it.unit_price);
    w.u8(static_cast<uint8_t>(it.price_decimals));
    w.i64(it.amount);
    w.i64(it.discount);
    w.i64(it.surcharge);
    w.u8(it.cancelled);
  }
  w.str(d.pending_description);
  w.u8(d.totalled);
  w.i64(d.subtotal_discount);
  w.i64(d.subtotal_surcharge);
  put(w, d.payments);
  w.i64(d.paid);
  w.u32(static_cast<uint32_t>(d.registrations.size()));
  for (const auto &[i, m] : d.registrations) {
    w.u32(static_cast<uint32_t>(i));
    w.i64(m);
  }
  w.u32(static_cast<uint32_t>(d.report_type));

  w.u32(s.last_receipt.coo);
  for (Money m : s.last_receipt.buckets) w.i64(m);
  put(w, s.last_receipt.payments);
  w.i64(s.last_receipt.total);

  w.u32(static_cast<uint32_t>(s.linkable.size()));
  for (const auto &l : s.linkable) {
    w.u32(l.coo);
    w.u32(static_cast<uint32_t>(l.method));
    w.i64(l.amount);
    w.u8(l.used);
  }
  w.u32(static_cast<uint32_t>(s.last_linked_text.size()));
  for (const auto &t : s.last_linked_text) w.str(t);

  w.u32(static_cast<uint32_t>(s.fiscal_memory.size()));
  for (const auto &r : s.fiscal_memory) {
    for (uint32_t v :
         {uint32_t{r.crz}, uint32_t{r.cro}, r.coo, r.gnf, r.ccf, uint32_t{r.cfc}, uint32_t{r.cdc}})
      w.u32(v);
    put(w, r.day);
    for (uint8_t b : r.made_at) w.u8(b);
    w.i64(r.grand_total);
    for (uint16_t v : r.rates) w.u32(v);
    w.u32(r.iss_flags);
    put(w, r.totals);
  }
  std::string &out = w.bytes();
  const uint32_t sum = checksum(out);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(sum >> (8 * i)));
  return out;
}

bool deserialize(std::string_view bytes, State &s) {
  if (bytes.size() < 4) return false;
  const std::string_view body = bytes.substr(0, bytes.size() - 4);
  uint32_t sum = 0;
  for (int i = 0; i < 4; ++i)
    sum |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[body.size() + static_cast<size_t>(i)]))
           << (8 * i);
  if (sum != checksum(body)) return false;

  Reader r(body);
  if (r.str() != kMagic || r.u32() != kVersion) return false;
  // A state belongs to the model that wrote it.
  if (r.u32() != static_cast<uint32_t>(s.model->code)) return false;

  Settings &st = s.settings;
  for (uint16_t &v : st.rates) v = static_cast<uint16_t>(r.u32());
  st.iss_flags = static_cast<uint16_t>(r.u32());
  st.payment_methods.clear();
  const uint32_t nm = r.count(kMaxPaymentMethodsOlder);
  for (uint32_t i = 0; i < nm && r.ok(); ++i) st.payment_methods.push_back(r.str());
  st.nonfiscal_names.clear();
  const uint32_t nn = r.count(kNonFiscalTotalizers);
  if (nn != kNonFiscalTotalizers) return false;
  for (uint32_t i = 0; i < nn && r.ok(); ++i) st.nonfiscal_names.push_back(r.str());
  for (std::string *t : {&st.header, &st.cnpj, &st.ie, &st.im, &st.currency_singular,
                         &st.currency_plural, &st.app_id})
    *t = r.str();
  st.multiplication_mode = r.u8();
  st.owner = static_cast<uint16_t>(r.u32());
  st.item_line_mode = static_cast<int>(r.u32());

  Counters &k = s.counters;
  k.coo = r.u32();
  k.gnf = r.u32();
  k.ccf = r.u32();
  k.grg = r.u32();
  k.cdc = r.u32();
  k.cfc = static_cast<uint16_t>(r.u32());
  k.crz = static_cast<uint16_t>(r.u32());
  k.cro = static_cast<uint16_t>(r.u32());
  s.grand_total = r.money();
  get(r, s.day);
  get(r, s.day_date);
  s.clock_offset = r.i64();
  if (s.clock_offset > kMaxClockOffset || s.clock_offset < -kMaxClockOffset) return false;
  s.daylight = r.u8() != 0;
  s.previous_cancellable = r.u8() != 0;

  OpenDoc &d = s.doc;
  const uint8_t kind = r.u8();
  if (kind > static_cast<uint8_t>(Doc::Report)) return false;
  d.kind = static_cast<Doc>(kind);
  d.coo = r.u32();
  const uint32_t ni = r.count(kMaxItems);
  for (uint32_t i = 0; i < ni && r.ok(); ++i) {
    Item it;
    it.code = r.str();
    it.description = r.str();
    it.unit = r.str();
    it.bucket = static_cast<int>(r.u32());
    it.quantity_milli = r.money();
    it.unit_price = r.money();
    it.price_decimals = r.u8();
    it.amount = r.money();
    it.discount = r.money();
    it.surcharge = r.money();
    it.cancelled = r.u8() != 0;
    if (it.bucket < 0 || it.bucket >= kBuckets) return false;
    d.items.push_back(std::move(it));
  }
  d.pending_description = r.str();
  d.totalled = r.u8() != 0;
  d.subtotal_discount = r.money();
  d.subtotal_surcharge = r.money();
  get(r, d.payments);
  d.paid = r.money();
  const uint32_t nr = r.count(kMaxItems);
  for (uint32_t i = 0; i < nr && r.ok(); ++i) {
    const auto idx = static_cast<int>(r.u32());
    const Money m = r.money();
    if (idx < 0 || idx >= kNonFiscalTotalizers) return false;
    d.registrations.emplace_back(idx, m);
  }
  d.report_type = static_cast<int>(r.u32());

  s.last_receipt.coo = r.u32();
  for (Money &m : s.last_receipt.buckets) m = r.money();
  get(r, s.last_receipt.payments);
  s.last_receipt.total = r.money();

  const uint32_t nl = r.count(kMaxPayments);
  for (uint32_t i = 0; i < nl && r.ok(); ++i) {
    Linkable l;
    l.coo = r.u32();
    l.method = static_cast<int>(r.u32());
    l.amount = r.money();
    l.used = r.u8() != 0;
    if (!method_ok(l.method) || static_cast<size_t>(l.method) > st.payment_methods.size())
      return false;
    s.linkable.push_back(l);
  }
  const uint32_t nt = r.count(64);
  for (uint32_t i = 0; i < nt && r.ok(); ++i) s.last_linked_text.push_back(r.str());

  const uint32_t nf = r.count(static_cast<uint32_t>(s.fiscal_memory_capacity()));
  for (uint32_t i = 0; i < nf && r.ok(); ++i) {
    ReductionRecord rec;
    rec.crz = static_cast<uint16_t>(r.u32());
    rec.cro = static_cast<uint16_t>(r.u32());
    rec.coo = r.u32();
    rec.gnf = r.u32();
    rec.ccf = r.u32();
    rec.cfc = static_cast<uint16_t>(r.u32());
    rec.cdc = static_cast<uint16_t>(r.u32());
    get(r, rec.day);
    for (uint8_t &b : rec.made_at) b = r.u8();
    rec.grand_total = r.money();
    for (uint16_t &v : rec.rates) v = static_cast<uint16_t>(r.u32());
    rec.iss_flags = static_cast<uint16_t>(r.u32());
    get(r, rec.totals);
    s.fiscal_memory.push_back(rec);
  }
  for (const auto &p : d.payments) {
    if (static_cast<size_t>(p.method) > st.payment_methods.size()) return false;
  }
  return r.ok() && r.at_end() && !st.payment_methods.empty();
}

}  // namespace ecfsim
