// The sale script: one operation a line, the same words as the single
// commands of the command line. Amounts are written as decimals ("21.90",
// "21,90", "10%") and turned here into the digit strings the driver takes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ecfctl {

enum class StepKind {
  Consumer,       // consumer DOCUMENT [NAME [ADDRESS]] | consumer -
  AppId,          // appid TEXT
  Open,           // open
  Line,           // line TEXT            (extra description line of the next item)
  Item,           // item CODE DESCRIPTION TAX QUANTITY PRICE [discount=V] [unit=U] [decimals=3]
                  // [line=TEXT]...
  Discount,       // discount VALUE | discount PERCENT%
  Surcharge,      // surcharge VALUE | surcharge PERCENT%
  ItemDiscount,   // item-discount ITEM VALUE
  ItemSurcharge,  // item-surcharge ITEM VALUE
  CancelItem,     // cancel-item ITEM
  Total,          // total
  Pay,            // pay METHOD AMOUNT [TEXT1 [TEXT2]]
  Promo,          // promo TEXT
  Close,          // close
  Cancel,         // cancel
  // Non-fiscal receipt, linked receipt and management report.
  NfOpen,       // nf-open TOTALIZER
  NfRegister,   // nf-register TOTALIZER AMOUNT
  NfClose,      // nf-close
  NfCancel,     // nf-cancel
  LinkedOpen,   // linked-open
  LinkedLine,   // linked-line TEXT      ("!" first: expanded)
  LinkedClose,  // linked-close
  ReportOpen,   // report-open [TYPE]
  ReportLine,   // report-line TEXT      ("!" first: expanded)
  ReportClose,  // report-close
};

struct Step {
  StepKind kind{};
  int line_no = 0;     // in the script; 0 for the command line
  std::string source;  // the line as written, for messages

  // Texts; the meaning depends on the kind (see each field).
  std::string code;                // item code
  std::string text;                // description, line, promo, appid, consumer document
  std::string name, address;       // consumer
  std::string tax;                 // item tax
  std::string quantity;            // digits, 3 decimals
  std::string value;               // price, amount or discount: digits
  std::string discount;            // item discount: digits, empty when none
  std::string unit;                // item unit, empty when none
  std::vector<std::string> lines;  // item extra description lines
  std::string text1, text2;        // payment texts
  std::string method_name;         // payment method by name
  int number = 0;                  // item number, payment method number, totalizer, report type
  bool percent = false;            // discount/surcharge by percentage
  bool three_decimals = false;     // item price with 3 decimals
  bool forget = false;             // consumer -
};

struct ParseError {
  int line_no = 0;
  std::string message;
};

// The first operation out of a sale's order (item after the total, close
// before it, ...), if any.
std::optional<ParseError> check_sale_order(const std::vector<Step> &steps);

// Parses one operation from its words (the command line's arguments, or a
// script line already split). On error `error` is filled.
std::optional<Step> parse_step(const std::vector<std::string> &words, ParseError &error);

// Splits a script line into words: blanks separate, double quotes group
// (with \" and \\ inside), "#" outside quotes starts a comment.
bool split_words(std::string_view line, std::vector<std::string> &words, std::string &error);

// Parses a whole script; stops at the first error.
std::optional<std::vector<Step>> parse_script(std::string_view text, ParseError &error);

// A decimal amount ("21.9", "21,90", "7") as a digit string with exactly
// `decimals` implied decimals and at most `max_digits` significant digits.
std::optional<std::string> to_digits(std::string_view amount, int decimals, int max_digits);

// The words of an operation, one a line, as `check` prints them.
std::string describe(const Step &step);

// Is this word one of the operations above?
bool is_step_word(std::string_view word);

}  // namespace ecfctl
