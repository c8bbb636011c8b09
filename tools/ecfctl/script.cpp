#include "script.h"

#include "latin1.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string>
#include <utility>

namespace ecfctl {
namespace {

struct Word {
  std::string_view word;
  StepKind kind;
};

constexpr std::array kWords{
    Word{"consumer", StepKind::Consumer},
    Word{"appid", StepKind::AppId},
    Word{"open", StepKind::Open},
    Word{"line", StepKind::Line},
    Word{"item", StepKind::Item},
    Word{"discount", StepKind::Discount},
    Word{"surcharge", StepKind::Surcharge},
    Word{"item-discount", StepKind::ItemDiscount},
    Word{"item-surcharge", StepKind::ItemSurcharge},
    Word{"cancel-item", StepKind::CancelItem},
    Word{"total", StepKind::Total},
    Word{"pay", StepKind::Pay},
    Word{"promo", StepKind::Promo},
    Word{"close", StepKind::Close},
    Word{"cancel", StepKind::Cancel},
    Word{"nf-open", StepKind::NfOpen},
    Word{"nf-register", StepKind::NfRegister},
    Word{"nf-close", StepKind::NfClose},
    Word{"nf-cancel", StepKind::NfCancel},
    Word{"linked-open", StepKind::LinkedOpen},
    Word{"linked-line", StepKind::LinkedLine},
    Word{"linked-close", StepKind::LinkedClose},
    Word{"report-open", StepKind::ReportOpen},
    Word{"report-line", StepKind::ReportLine},
    Word{"report-close", StepKind::ReportClose},
};

// Widths the printer's fields hold; a longer value would be cut silently.
constexpr size_t kConsumerDocument = 29;
constexpr size_t kConsumerName = 30;
constexpr size_t kConsumerAddress = 80;
constexpr size_t kAppId = 84;
constexpr size_t kLine = 48;
constexpr size_t kItemCode = 14;
constexpr size_t kDescription = 200;
constexpr size_t kPaymentTexts = 80;
constexpr size_t kMethodName = 16;
constexpr int kQuantityDecimals = 3;
constexpr int kQuantityDigits = 7;
constexpr int kPriceDigits =
    7;  // the two-decimal price takes a digit fewer on the extended commands
constexpr int kPrice3Digits = 8;
constexpr int kItemValueDigits = 8;
constexpr int kSubtotalDigits = 14;
constexpr int kPercentDigits = 4;
constexpr int kAmountDigits = 14;
constexpr size_t kFreeLine = 49;  // "!" and a 48-column line

std::string_view word_of(StepKind kind) {
  for (const auto &w : kWords) {
    if (w.kind == kind) return w.word;
  }
  return "?";
}

// Latin-1 text without control characters (C0, DEL, C1).
bool printable(std::string_view s) {
  for (unsigned char c : s) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return false;
  }
  return true;
}

class Parser {
 public:
  Parser(const std::vector<std::string> &words, ParseError &error) : words_(words), error_(error) {}

  bool fail(std::string message) {
    error_.message = std::move(message);
    return false;
  }

  bool count(size_t min, size_t max) {
    size_t n = words_.size() - 1;
    if (n < min || n > max) {
      std::string what = std::string(words_[0]) + ": expects ";
      what +=
          (min == max) ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max);
      return fail(what + " argument(s), got " + std::to_string(n));
    }
    return true;
  }

  // The driver takes Latin-1: one byte a character, so lengths count letters.
  bool text(const std::string &s, size_t max, std::string_view what, std::string &out) {
    std::string error;
    auto latin1 = to_latin1(s, error);
    if (!latin1) return fail(std::string(what) + ": " + error);
    if (!printable(*latin1)) return fail(std::string(what) + " holds a control character");
    if (latin1->size() > max) {
      return fail(std::string(what) + " is longer than " + std::to_string(max) + " characters");
    }
    out = std::move(*latin1);
    return true;
  }

  bool amount(const std::string &s, int decimals, int max_digits, std::string_view what,
              std::string &out) {
    auto d = to_digits(s, decimals, max_digits);
    if (!d) {
      return fail(std::string(what) + " \"" + s + "\" is not an amount of at most " +
                  std::to_string(max_digits - decimals) + " integer digits and " +
                  std::to_string(decimals) + " decimals");
    }
    out = *d;
    return true;
  }

  bool integer(const std::string &s, int min, int max, std::string_view what, int &out) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || p != s.data() + s.size() || v < min || v > max) {
      return fail(std::string(what) + " must be a number from " + std::to_string(min) + " to " +
                  std::to_string(max));
    }
    out = v;
    return true;
  }

  // "10%" or "12.50".
  bool value_or_percent(const std::string &s, Step &step) {
    if (!s.empty() && s.back() == '%') {
      step.percent = true;
      return amount(s.substr(0, s.size() - 1), 2, kPercentDigits, "percentage", step.value);
    }
    return amount(s, 2, kSubtotalDigits, "value", step.value);
  }

  bool item(Step &step) {
    if (words_.size() < 6)
      return fail("item: expects CODE DESCRIPTION TAX QUANTITY PRICE [options]");
    if (words_[1].empty()) return fail("item code is empty");
    if (!text(words_[1], kItemCode, "item code", step.code)) return false;
    if (!text(words_[2], kDescription, "description", step.text)) return false;
    if (!text(words_[3], 2, "tax", step.tax) || step.tax.empty()) {
      return fail("tax must be 1 or 2 characters (e.g. 01, FF, II, NN)");
    }
    if (!amount(words_[4], kQuantityDecimals, kQuantityDigits, "quantity", step.quantity))
      return false;
    std::string price_text = words_[5];
    for (size_t i = 6; i < words_.size(); ++i) {
      const std::string &opt = words_[i];
      auto eq = opt.find('=');
      if (eq == std::string::npos) return fail("item: unknown option \"" + opt + "\"");
      std::string key = opt.substr(0, eq);
      std::string val = opt.substr(eq + 1);
      if (key == "discount") {
        if (!amount(val, 2, kItemValueDigits, "discount", step.discount)) return false;
      } else if (key == "unit") {
        if (val.empty() || val.size() > 2) return fail("unit must be 1 or 2 letters or digits");
        for (unsigned char c : val) {
          if (!std::isalnum(c)) return fail("unit must be 1 or 2 letters or digits");
        }
        step.unit = val;
      } else if (key == "decimals") {
        if (val != "2" && val != "3") return fail("decimals must be 2 or 3");
        step.three_decimals = (val == "3");
      } else if (key == "line") {
        std::string l;
        if (!line_text(val, l)) return false;
        step.lines.push_back(l);
      } else {
        return fail("item: unknown option \"" + key + "\"");
      }
    }
    if (step.lines.size() > 4) return fail("an item takes at most 4 extra description lines");
    if (!step.unit.empty() && (step.three_decimals || !step.discount.empty())) {
      return fail("item: unit= cannot be combined with discount= or decimals=3");
    }
    return step.three_decimals ? amount(price_text, 3, kPrice3Digits, "price", step.value)
                               : amount(price_text, 2, kPriceDigits, "price", step.value);
  }

  bool line_text(const std::string &s, std::string &out) {
    // An empty first line would empty every stored line instead.
    if (s.empty()) return fail("a description line may not be empty (use \" \" for a blank line)");
    return text(s, kLine, "description line", out);
  }

  bool pay(Step &step) {
    if (!count(2, 4)) return false;
    const std::string &m = words_[1];
    if (!m.empty() && std::isdigit(static_cast<unsigned char>(m[0]))) {
      if (!integer(m, 1, 99, "payment method", step.number)) return false;
    } else {
      if (m.empty()) return fail("payment method is empty");
      if (!text(m, kMethodName, "payment method name", step.method_name)) return false;
    }
    if (!amount(words_[2], 2, kAmountDigits, "amount", step.value)) return false;
    if (words_.size() > 3 && !text(words_[3], kPaymentTexts, "payment text", step.text1))
      return false;
    if (words_.size() > 4 && !text(words_[4], kPaymentTexts, "payment text", step.text2))
      return false;
    if (step.text1.size() + step.text2.size() > kPaymentTexts) {
      return fail("the two payment texts together exceed 80 characters");
    }
    return true;
  }

  std::optional<Step> parse() {
    if (words_.empty()) {
      fail("empty operation");
      return std::nullopt;
    }
    Step step;
    bool known = false;
    for (const auto &w : kWords) {
      if (words_[0] == w.word) {
        step.kind = w.kind;
        known = true;
      }
    }
    if (!known) {
      fail("unknown operation \"" + words_[0] + "\"");
      return std::nullopt;
    }
    for (const auto &w : words_) {
      if (!step.source.empty()) step.source += ' ';
      step.source += w;
    }
    bool ok = true;
    switch (step.kind) {
      case StepKind::Consumer:
        ok = count(1, 3);
        if (!ok) break;
        if (words_.size() == 2 && words_[1] == "-") {
          step.forget = true;
          break;
        }
        if (words_[1].empty()) {
          ok = fail("consumer document is empty");
          break;
        }
        ok = text(words_[1], kConsumerDocument, "consumer document", step.text) &&
             (words_.size() < 3 || text(words_[2], kConsumerName, "consumer name", step.name)) &&
             (words_.size() < 4 ||
              text(words_[3], kConsumerAddress, "consumer address", step.address));
        break;
      case StepKind::AppId:
        ok = count(1, 1) && text(words_[1], kAppId, "application identification", step.text);
        break;
      case StepKind::Line:
        ok = count(1, 1) && line_text(words_[1], step.text);
        break;
      case StepKind::Promo:
        ok = count(1, 1);
        if (ok && words_[1].empty()) {
          // An empty first promotional line would empty them all.
          ok = fail("a promotional line may not be empty (use \" \" for a blank line)");
        }
        ok = ok && text(words_[1], kLine + 1, "promotional line", step.text);
        break;
      case StepKind::Item:
        ok = item(step);
        break;
      case StepKind::Discount:
      case StepKind::Surcharge:
        ok = count(1, 1) && value_or_percent(words_[1], step);
        break;
      case StepKind::ItemDiscount:
      case StepKind::ItemSurcharge:
        ok = count(2, 2) && integer(words_[1], 1, 999, "item number", step.number) &&
             amount(words_[2], 2, kItemValueDigits, "value", step.value);
        break;
      case StepKind::CancelItem:
        ok = count(1, 1) && integer(words_[1], 1, 9999, "item number", step.number);
        break;
      case StepKind::Pay:
        ok = pay(step);
        break;
      case StepKind::Open:
      case StepKind::Total:
      case StepKind::Close:
      case StepKind::Cancel:
      case StepKind::NfClose:
      case StepKind::NfCancel:
      case StepKind::LinkedOpen:
      case StepKind::LinkedClose:
      case StepKind::ReportClose:
        ok = count(0, 0);
        break;
      case StepKind::NfOpen:
        ok = count(1, 1) && integer(words_[1], 1, 99, "totalizer", step.number);
        break;
      case StepKind::NfRegister:
        ok = count(2, 2) && integer(words_[1], 1, 99, "totalizer", step.number) &&
             amount(words_[2], 2, kAmountDigits, "amount", step.value);
        break;
      case StepKind::LinkedLine:
      case StepKind::ReportLine:
        ok = count(1, 1) && text(words_[1], kFreeLine, "text line", step.text);
        break;
      case StepKind::ReportOpen:
        ok = count(0, 1) &&
             (words_.size() < 2 || integer(words_[1], 1, 99, "report type", step.number));
        break;
    }
    if (!ok) return std::nullopt;
    return step;
  }

 private:
  const std::vector<std::string> &words_;
  ParseError &error_;
};

}  // namespace

bool is_step_word(std::string_view word) {
  for (const auto &w : kWords) {
    if (w.word == word) return true;
  }
  return false;
}

std::optional<std::string> to_digits(std::string_view amount, int decimals, int max_digits) {
  std::string whole, frac;
  bool seen_point = false;
  for (char c : amount) {
    if (c == '.' || c == ',') {
      if (seen_point) return std::nullopt;
      seen_point = true;
    } else if (c >= '0' && c <= '9') {
      (seen_point ? frac : whole) += c;
    } else {
      return std::nullopt;
    }
  }
  if (whole.empty() && frac.empty()) return std::nullopt;
  if (frac.size() > static_cast<size_t>(decimals)) return std::nullopt;
  frac.append(static_cast<size_t>(decimals) - frac.size(), '0');
  std::string digits = whole + frac;
  size_t first = digits.find_first_not_of('0');
  digits = (first == std::string::npos) ? "0" : digits.substr(first);
  if (digits.size() > static_cast<size_t>(max_digits)) return std::nullopt;
  return digits;
}

bool split_words(std::string_view line, std::vector<std::string> &words, std::string &error) {
  words.clear();
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      if (line[i] == '"') {
        ++i;
        bool closed = false;
        while (i < line.size()) {
          if (line[i] == '\\' && i + 1 < line.size() &&
              (line[i + 1] == '"' || line[i + 1] == '\\')) {
            word += line[i + 1];
            i += 2;
          } else if (line[i] == '"') {
            closed = true;
            ++i;
            break;
          } else {
            word += line[i++];
          }
        }
        if (!closed) {
          error = "unterminated quote";
          return false;
        }
      } else {
        word += line[i++];
      }
    }
    words.push_back(std::move(word));
  }
  return true;
}

std::optional<std::vector<Step>> parse_script(std::string_view text, ParseError &error) {
  std::vector<Step> steps;
  int line_no = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;
    std::vector<std::string> words;
    std::string split_error;
    if (!split_words(line, words, split_error)) {
      error = {line_no, split_error};
      return std::nullopt;
    }
    if (words.empty()) continue;
    auto step = parse_step(words, error);
    if (!step) {
      error.line_no = line_no;
      return std::nullopt;
    }
    step->line_no = line_no;
    steps.push_back(std::move(*step));
  }
  return steps;
}

std::optional<Step> parse_step(const std::vector<std::string> &words, ParseError &error) {
  error = {};
  return Parser(words, error).parse();
}

std::string describe(const Step &s) {
  std::string out(word_of(s.kind));
  auto add = [&out](std::string_view key, const std::string &v) {
    out += ' ';
    out += key;
    out += "=\"";
    out += to_utf8(v);
    out += '"';
  };
  switch (s.kind) {
    case StepKind::Consumer:
      if (s.forget) {
        out += " forget";
        break;
      }
      add("document", s.text);
      if (!s.name.empty()) add("name", s.name);
      if (!s.address.empty()) add("address", s.address);
      break;
    case StepKind::AppId:
    case StepKind::Line:
    case StepKind::Promo:
      add("text", s.text);
      break;
    case StepKind::Item:
      add("code", s.code);
      add("description", s.text);
      add("tax", s.tax);
      add("quantity", s.quantity);
      add("price", s.value);
      if (s.three_decimals) out += " decimals=3";
      if (!s.discount.empty()) add("discount", s.discount);
      if (!s.unit.empty()) add("unit", s.unit);
      for (const auto &l : s.lines) add("line", l);
      break;
    case StepKind::Discount:
    case StepKind::Surcharge:
      add(s.percent ? "percent" : "value", s.value);
      break;
    case StepKind::ItemDiscount:
    case StepKind::ItemSurcharge:
      out += " item=" + std::to_string(s.number);
      add("value", s.value);
      break;
    case StepKind::CancelItem:
      out += " item=" + std::to_string(s.number);
      break;
    case StepKind::Pay:
      if (s.number > 0) {
        out += " method=" + std::to_string(s.number);
      } else {
        add("method", s.method_name);
      }
      add("amount", s.value);
      if (!s.text1.empty()) add("text1", s.text1);
      if (!s.text2.empty()) add("text2", s.text2);
      break;
    case StepKind::NfOpen:
    case StepKind::ReportOpen:
      if (s.number > 0) out += " number=" + std::to_string(s.number);
      break;
    case StepKind::NfRegister:
      out += " totalizer=" + std::to_string(s.number);
      add("amount", s.value);
      break;
    case StepKind::LinkedLine:
    case StepKind::ReportLine:
      add("text", s.text);
      break;
    case StepKind::Open:
    case StepKind::Total:
    case StepKind::Close:
    case StepKind::Cancel:
    case StepKind::NfClose:
    case StepKind::NfCancel:
    case StepKind::LinkedOpen:
    case StepKind::LinkedClose:
    case StepKind::ReportClose:
      break;
  }
  return out;
}

}  // namespace ecfctl
