// The document slot and bar codes: authentication, cheques, the CMC-7 line
// and a bar code in the open free-text document.
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry.h"
#include "session.h"

namespace ecfctl {
namespace {

using fn_autenticacao = int(int numero, const char *texto);
using fn_cheque = int(const char *favorecido, const char *cidade, const char *data,
                      const char *banco, const char *valor, const char *texto1, const char *texto2,
                      const char *texto3);
using fn_cmc7 = int(char *buffer, int tamanho);
using fn_codbarras = int(int tipo, const char *dados);

template <typename F>
F *operation(const Session &s, const char *name) {
  return reinterpret_cast<F *>(s.symbol(name));
}

std::optional<int> number(std::string_view s) {
  int v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

bool all_digits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

bool usage(const char *line) {
  std::fprintf(stderr, "usage: ecfctl %s\n", line);
  return false;
}

// ---- auth [TEXT] [number=N] ---------------------------------------------

constexpr const char *kAuthUsage =
    "auth [TEXT] [number=N]   (N 0 to 99, TEXT at most 48 characters)";

struct AuthWords {
  int number = 0;
  std::string text;
};

std::optional<AuthWords> auth_words(const std::vector<std::string> &args) {
  AuthWords w;
  bool has_text = false;
  for (size_t i = 1; i < args.size(); ++i) {
    std::string_view a = args[i];
    if (a.starts_with("number=")) {
      auto n = number(a.substr(7));
      if (!n || *n < 0 || *n > 99) return std::nullopt;
      w.number = *n;
    } else if (!has_text && a.size() <= 48) {
      w.text = a;
      has_text = true;
    } else {
      return std::nullopt;
    }
  }
  return w;
}

bool check_auth(const std::vector<std::string> &args) {
  return auth_words(args) ? true : usage(kAuthUsage);
}

int cmd_auth(Session &s, const std::vector<std::string> &args) {
  const AuthWords w = *auth_words(args);
  auto *f = operation<fn_autenticacao>(s, "ECFBMTC_autenticacao");
  if (f == nullptr) return report(s, "auth", kMissingOperation);
  return report(s, "auth", s.call([&] { return f(w.number, w.text.c_str()); }));
}

// ---- cheque BANK AMOUNT PAYEE CITY DATE [TEXT1 [TEXT2]] -------------------

constexpr const char *kChequeUsage =
    "cheque BANK AMOUNT PAYEE CITY DATE [TEXT1 [TEXT2]]   (AMOUNT in cents, DATE DDMMYY or "
    "DDMMYYYY)";

bool check_cheque(const std::vector<std::string> &args) {
  if (args.size() < 6 || args.size() > 8) return usage(kChequeUsage);
  if (!all_digits(args[1]) || !all_digits(args[2]) || args[2].size() > 14 || !all_digits(args[5]) ||
      (args[5].size() != 6 && args[5].size() != 8))
    return usage(kChequeUsage);
  return true;
}

int cmd_cheque(Session &s, const std::vector<std::string> &args) {
  auto *f = operation<fn_cheque>(s, "ECFCHQ_imprime_cheque");
  if (f == nullptr) return report(s, "cheque", kMissingOperation);
  const char *t1 = args.size() > 6 ? args[6].c_str() : nullptr;
  const char *t2 = args.size() > 7 ? args[7].c_str() : nullptr;
  const int r = s.call([&] {
    return f(args[3].c_str(), args[4].c_str(), args[5].c_str(), args[1].c_str(), args[2].c_str(),
             t1, t2, nullptr);
  });
  auto *retornado = static_cast<const unsigned char *>(s.symbol("ECFIF_retornado"));
  if (r == 0 && retornado != nullptr && !s.options().quiet) {
    std::printf("cheque: text 1 %s, text 2 %s\n", retornado[0] ? "printed" : "not printed",
                retornado[1] ? "printed" : "not printed");
  }
  return report(s, "cheque", r);
}

int cmd_release(Session &s, const std::vector<std::string> &) {
  auto *f = operation<int()>(s, "ECFCHQ_cancela_cheque");
  if (f == nullptr) return report(s, "release", kMissingOperation);
  return report(s, "release", s.call([&] { return f(); }));
}

// ---- cmc7 ------------------------------------------------------------------

int cmd_cmc7(Session &s, const std::vector<std::string> &) {
  auto *f = operation<fn_cmc7>(s, "ECFIF_le_cmc7");
  if (f == nullptr) return report(s, "cmc7", kMissingOperation);
  std::array<char, 64> line{};
  const int r = s.call([&] { return f(line.data(), static_cast<int>(line.size())); });
  if (r == 0)
    std::printf("%s\n", std::string(line.data(), ::strnlen(line.data(), line.size())).c_str());
  return report(s, "cmc7", r);
}

// ---- barcode TYPE DATA [width=N] [margin=N] [height=N] [font=N] [text=N] ----

constexpr const char *kBarcodeUsage =
    "barcode TYPE DATA [width=N] [margin=N] [height=N] [font=N] [text=N]\n"
    "       TYPE: 0 (the configured one), 1 ean8, 2 ean13, 3 code39, 4 code128, 5 codabar, 6 itf";

struct BarcodeType {
  std::string_view name;
  int type;
};
constexpr std::array<BarcodeType, 6> kTypes{{
    {"ean8", 1},
    {"ean13", 2},
    {"code39", 3},
    {"code128", 4},
    {"codabar", 5},
    {"itf", 6},
}};

// The appearance settings the driver exports, by their word here.
struct Setting {
  std::string_view word;
  const char *symbol;
};
constexpr std::array<Setting, 5> kSettings{{
    {"width=", "ECFBMTCAUX_barra_codbar"},
    {"margin=", "ECFBMTCAUX_margem_codbar"},
    {"height=", "ECFBMTCAUX_altura_codbar"},
    {"font=", "ECFBMTCAUX_fonte_codbar"},
    {"text=", "ECFBMTCAUX_pos_txt_codbar"},
}};

std::optional<int> barcode_type(std::string_view w) {
  for (const auto &t : kTypes)
    if (same_name(t.name, w)) return t.type;
  return number(w);
}

bool check_barcode(const std::vector<std::string> &args) {
  if (args.size() < 3 || !barcode_type(args[1])) return usage(kBarcodeUsage);
  for (size_t i = 3; i < args.size(); ++i) {
    bool known = false;
    for (const auto &st : kSettings) {
      std::string_view a = args[i];
      if (a.starts_with(st.word)) known = number(a.substr(st.word.size())).has_value();
    }
    if (!known) return usage(kBarcodeUsage);
  }
  return true;
}

int cmd_barcode(Session &s, const std::vector<std::string> &args) {
  auto *f = operation<fn_codbarras>(s, "ECFIF_imprime_codbarras");
  if (f == nullptr) return report(s, "barcode", kMissingOperation);
  for (size_t i = 3; i < args.size(); ++i) {
    for (const auto &st : kSettings) {
      std::string_view a = args[i];
      if (!a.starts_with(st.word)) continue;
      auto *v = static_cast<int *>(s.symbol(st.symbol));
      if (v == nullptr) return report(s, "barcode", kMissingOperation);
      *v = *number(a.substr(st.word.size()));
    }
  }
  const int type = *barcode_type(args[1]);
  return report(s, "barcode", s.call([&] { return f(type, args[2].c_str()); }));
}

const Registrar kDocumentSlot{{
    {"auth", "auth [TEXT] [number=N]   authenticate the inserted document", cmd_auth, check_auth},
    {"cheque", "cheque BANK AMOUNT PAYEE CITY DATE [TEXT1 [TEXT2]]   print a cheque", cmd_cheque,
     check_cheque},
    {"release", "release               release the document from the slot", cmd_release},
    {"cmc7", "cmc7                  read the CMC-7 line of the inserted cheque", cmd_cmc7},
    {"barcode",
     "barcode TYPE DATA [width=N] [margin=N] [height=N] [font=N] [text=N]   bar code in the "
     "open document",
     cmd_barcode, check_barcode},
}};

}  // namespace
}  // namespace ecfctl
