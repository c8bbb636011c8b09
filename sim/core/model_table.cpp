#include "core/model_table.h"

#include <array>
#include <cctype>
#include <charconv>

#include "core/printer.h"

namespace ecfsim {
namespace {

constexpr std::array<ModelInfo, 14> kModels{{
    {"BemaTECH MP-20 FI II", 1, 48, 2, false, "4708"},
    {"BemaTECH MP-40 FI II", 3, 40, 3, false, "5708"},
    {"MP-25 FI", 2, 48, 2, false, "2508"},
    {"MP-50 FI", 4, 40, 3, false, "6508"},
    {"MP-2000 TH FI", 5, 48, 0, false, "BE05"},
    {"MP-6000 TH FI", 6, 48, 3, false, "BE06"},
    {"BR6000-TH", 8, 48, 3, false, "BR08"},
    {"4610-KR4", 9, 48, 3, false, "IB09"},
    {"4610-KN4", 10, 48, 3, true, "IB10"},
    {"MP-2100 TH FI", 13, 48, 0, false, "BE13"},
    {"MP-6100 TH FI", 14, 48, 3, false, "BE14"},
    {"MP-3000 TH FI", 11, 48, 0, false, "BE11"},
    {"MP-4000 TH FI", 12, 48, 0, true, "BE12"},
    {"MP-7000 TH FI", 7, 48, 3, false, "BE07"},
}};

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// "BemaTECH MP-20 FI II" is also known as "MP-20 FI II"; the MFD models
// also answer to their name without " TH FI".
bool name_matches(const ModelInfo &m, std::string_view name) {
  std::string_view full = m.reported_name;
  if (same_name(full, name)) return true;
  constexpr std::string_view maker = "BemaTECH ";
  if (full.starts_with(maker) && same_name(full.substr(maker.size()), name)) return true;
  constexpr std::string_view suffix = " TH FI";
  if (full.ends_with(suffix) && same_name(full.substr(0, full.size() - suffix.size()), name))
    return true;
  return false;
}

}  // namespace

const ModelInfo *find_model(int code) {
  for (const auto &m : kModels) {
    if (m.code == code) return &m;
  }
  return nullptr;
}

int model_code_from_name(std::string_view name) {
  if (name.empty()) return 0;
  int code = 0;
  auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), code);
  if (ec == std::errc() && end == name.data() + name.size()) {
    return find_model(code) ? code : 0;
  }
  for (const auto &m : kModels) {
    if (name_matches(m, name)) return m.code;
  }
  return 0;
}

}  // namespace ecfsim
