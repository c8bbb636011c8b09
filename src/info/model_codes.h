// What the information queries answer for each model: national codes of
// model, maker and firmware version, the model letter and, for the older
// printers that have no identity variable, the identity's model name.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace ecf::info {

struct VersaoCodigo {
  std::string_view versao;  // firmware version text of code 40
  std::string_view codigo;
};

namespace versoes {
inline constexpr std::array<VersaoCodigo, 9> antigas{{{"0300", "01"},
                                                      {"0305", "02"},
                                                      {"0310", "03"},
                                                      {"0321", "04"},
                                                      {"0322", "05"},
                                                      {"0325", "06"},
                                                      {"0326", "07"},
                                                      {"0330", "09"},
                                                      {"0331", "08"}}};
inline constexpr std::array<VersaoCodigo, 1> mfd_4{{{"010000", "02"}}};
inline constexpr std::array<VersaoCodigo, 7> mfd_5{{{"010000", "01"},
                                                    {"010001", "02"},
                                                    {"010101", "03"},
                                                    {"010202", "04"},
                                                    {"010302", "05"},
                                                    {"010303", "06"},
                                                    {"010304", "07"}}};
inline constexpr std::array<VersaoCodigo, 2> mfd_7_10_12{{{"010001", "01"}, {"010002", "02"}}};
inline constexpr std::array<VersaoCodigo, 5> mfd_9{
    {{"010000", "01"}, {"010102", "02"}, {"010302", "03"}, {"010303", "04"}, {"010304", "05"}}};
inline constexpr std::array<VersaoCodigo, 3> mfd_11_13{
    {{"010000", "01"}, {"010100", "02"}, {"010101", "03"}}};
inline constexpr std::array<VersaoCodigo, 3> mfd_14{
    {{"010102", "01"}, {"010302", "02"}, {"010303", "03"}}};
inline constexpr std::array<VersaoCodigo, 6> mfd_2_6_8{{{"010000", "01"},
                                                        {"010101", "02"},
                                                        {"010202", "03"},
                                                        {"010302", "04"},
                                                        {"010303", "05"},
                                                        {"010304", "06"}}};
}  // namespace versoes

struct CodigosModelo {
  std::string_view codigo_nacional;  // code 62
  std::string_view letra;            // code 37
  std::string_view fabricante;       // code 61
  std::string_view nome_identidade;  // older printers' identity
  std::span<const VersaoCodigo> versoes_mfd;
};

// Indexed by model code, 0 (not identified) to 14.
inline constexpr std::array<CodigosModelo, 15> codigos_modelo{{
    {"00", "_", "03", "", {}},
    {"05", "6", "03", "MP-20 FI II ECF-IF", {}},
    {"10", "B", "03", "MP-25 FI", versoes::mfd_2_6_8},
    {"13", "8", "03", "MP-40 FI II ECF-IF", {}},
    {"16", "C", "03", "MP-50 FI", versoes::mfd_4},
    {"08", "_", "03", "", versoes::mfd_5},
    {"17", "_", "03", "", versoes::mfd_2_6_8},
    {"20", "_", "03", "", versoes::mfd_7_10_12},
    {"13", "_", "45", "", versoes::mfd_2_6_8},
    {"01", "_", "18", "", versoes::mfd_9},
    {"12", "_", "18", "", versoes::mfd_7_10_12},
    {"19", "_", "03", "", versoes::mfd_11_13},
    {"21", "_", "03", "", versoes::mfd_7_10_12},
    {"09", "_", "03", "", versoes::mfd_11_13},
    {"18", "_", "03", "", versoes::mfd_14},
}};

// Codes outside the table answer as an unidentified model, but with the
// maker code and letter of "any other" model.
constexpr const CodigosModelo &codigos_de(int modelo) {
  return modelo >= 0 && modelo < static_cast<int>(codigos_modelo.size()) ? codigos_modelo[modelo]
                                                                         : codigos_modelo[0];
}

constexpr std::string_view nome_identidade(int modelo) {
  return codigos_de(modelo).nome_identidade;
}

// Code 63: the firmware version text looked up in the table of the
// generation and model; "00" when not found.
constexpr std::string_view versao_nacional(bool mfd, int modelo, std::string_view versao) {
  if (modelo < 0 || modelo > 14) return "00";
  const std::span<const VersaoCodigo> tabela =
      mfd ? codigos_de(modelo).versoes_mfd : std::span<const VersaoCodigo>(versoes::antigas);
  for (const auto &v : tabela)
    if (v.versao == versao) return v.codigo;
  return "00";
}

static_assert(versao_nacional(false, 1, "0330") == "09");
static_assert(versao_nacional(false, 3, "0331") == "08");
static_assert(versao_nacional(true, 4, "010000") == "02");
static_assert(versao_nacional(true, 1, "010000") == "00");
static_assert(versao_nacional(true, 15, "010000") == "00");
static_assert(codigos_de(3).codigo_nacional == codigos_de(8).codigo_nacional);

}  // namespace ecf::info
