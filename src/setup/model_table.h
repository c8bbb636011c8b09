// The printer models this driver knows, as the MFD printers report their names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ecfbmtc::modelos {

inline constexpr std::size_t tam_nome = 20;

struct Modelo {
  std::string_view nome_ecf;  // as reported in variable 60, blank-padded to 20
  int codigo;
  uint8_t colunas;
  uint8_t linhas_avanco;
  uint8_t capacidades;         // bit 0 cheque, bit 1 authentication
  uint8_t acabamento;          // bit 0 paper cutter, bit 1 always set
  std::string_view nome_host;  // written into the host configuration record
};

inline constexpr uint8_t cap_cheque = 0x01;
inline constexpr uint8_t cap_autenticacao = 0x02;
inline constexpr uint8_t acab_guilhotina = 0x01;

// Searched from the first row; the order matters for the name match.
inline constexpr std::array<Modelo, 14> tabela{{
    {"BemaTECH MP-20 FI II", 1, 48, 6, 2, 2, "ECF-IF MP-20 FI II"},
    {"BemaTECH MP-40 FI II", 3, 40, 9, 3, 2, "ECF-IF MP-40 FI II"},
    {"MP-25 FI            ", 2, 48, 9, 2, 2, "ECF-IF MP-25 FI"},
    {"MP-50 FI            ", 4, 40, 9, 3, 2, "ECF-IF MP-50 FI"},
    {"MP-2000 TH FI       ", 5, 48, 5, 0, 2, "MP-2000 TH FI"},
    {"MP-6000 TH FI       ", 6, 48, 5, 3, 2, "MP-6000 TH FI"},
    {"BR6000-TH           ", 8, 48, 5, 3, 2, "BR6000-TH"},
    {"4610-KR4            ", 9, 48, 5, 3, 2, "4610-KR4"},
    {"4610-KN4            ", 10, 48, 5, 3, 3, "4610-KN4"},
    {"MP-2100 TH FI       ", 13, 48, 5, 0, 2, "MP-2100 TH FI"},
    {"MP-6100 TH FI       ", 14, 48, 5, 3, 2, "MP-6100 TH FI"},
    {"MP-3000 TH FI       ", 11, 48, 5, 0, 2, "MP-3000 TH FI"},
    {"MP-4000 TH FI       ", 12, 48, 5, 0, 3, "MP-4000 TH FI"},
    {"MP-7000 TH FI       ", 7, 48, 5, 3, 2, "MP-7000 TH FI"},
}};

constexpr bool nomes_com_20_caracteres() {
  for (const auto &m : tabela)
    if (m.nome_ecf.size() != tam_nome || m.nome_host.size() > tam_nome) return false;
  return true;
}
static_assert(nomes_com_20_caracteres());

constexpr const Modelo *por_codigo(int codigo) {
  for (const auto &m : tabela)
    if (m.codigo == codigo) return &m;
  return nullptr;
}

// Models with a CMC-7 reader.
constexpr bool tem_cmc7(int codigo) {
  return (codigo >= 6 && codigo <= 10) || codigo == 14;
}

}  // namespace ecfbmtc::modelos
