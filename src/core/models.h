// The printer models this driver knows, and what each can do. Every
// model-dependent decision asks a capability here; no other file tests a
// model code or the MFD bit.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "ecfbmtc/config.h"

namespace ecf::core {

inline constexpr std::size_t tam_nome = 20;

// A firmware version text (as information code 40 writes it) and the
// national code it stands for.
struct VersaoCodigo {
  std::string_view versao;
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

// What the information queries answer for a model; the defaults are those
// of a model not identified.
struct CodigosInfo {
  std::string_view modelo_nacional = "00";  // code 62
  std::string_view letra = "_";             // code 37
  std::string_view fabricante = "03";       // code 61
  std::string_view geracao = "1";           // code 35: "0" for the older models
  std::string_view nome_identidade = "";    // identity's model on older printers
  std::span<const VersaoCodigo> versoes_mfd = {};
};

struct Modelo {
  std::string_view nome_ecf;  // as reported in variable 60, blank-padded to 20
  int codigo;
  uint8_t colunas;
  uint8_t linhas_avanco;
  uint8_t capacidades;         // bit 0 cheque, bit 1 authentication
  uint8_t acabamento;          // bit 0 paper cutter, bit 1 always set
  std::string_view nome_host;  // written into the host configuration record
  uint16_t recursos = 0;       // rec_* below
  CodigosInfo info = {};
};

// Which command registers an item.
enum class CaminhoItem {
  classico,            // 9/56, or 63 when ECFBMTC_flags bit 4 asks for the unit
  estendido_opcional,  // 9/56, or 6273/6287 when ECFBMTC_flags bits 2/3 ask
  estendido,           // always 6287, with the multiplication mode
};

inline constexpr uint8_t cap_cheque = 0x01;
inline constexpr uint8_t cap_autenticacao = 0x02;
inline constexpr uint8_t acab_guilhotina = 0x01;
inline constexpr uint16_t rec_descricao_22 = 0x01;    // first description line of 22 columns
inline constexpr uint16_t rec_codigo_14 = 0x02;       // 14-digit item code on the classic path
inline constexpr uint16_t rec_id_aplicacao = 0x04;    // takes the application identification
inline constexpr uint16_t rec_cmc7 = 0x08;            // CMC-7 reader
inline constexpr uint16_t rec_item_opcional = 0x10;   // CaminhoItem::estendido_opcional
inline constexpr uint16_t rec_item_estendido = 0x20;  // CaminhoItem::estendido
// A slot sensor to wait on for the document's insertion and removal; the
// CMC-7 read then takes the argument "1".
inline constexpr uint16_t rec_sensor_documento = 0x40;
// Cheque layouts in the second group's file; the slot shows the end of a
// cheque print by clearing its released bit.
inline constexpr uint16_t rec_cheque_grupo2 = 0x80;
inline constexpr uint16_t rec_cheque_grupo1 = 0x100;    // cheque layouts in the first group's file
inline constexpr uint16_t rec_codigo_barras = 0x200;    // prints bar codes
inline constexpr uint16_t rec_data_sem_espaco = 0x400;  // reduction date-time text without a space

// Searched from the first row; the order matters for the name match.
inline constexpr std::array<Modelo, 14> tabela{{
    {"BemaTECH MP-20 FI II",
     1,
     48,
     6,
     2,
     2,
     "ECF-IF MP-20 FI II",
     0,
     {"05", "6", "03", "0", "MP-20 FI II ECF-IF"}},
    {"BemaTECH MP-40 FI II",
     3,
     40,
     9,
     3,
     2,
     "ECF-IF MP-40 FI II",
     rec_descricao_22,
     {"13", "8", "03", "0", "MP-40 FI II ECF-IF"}},
    {"MP-25 FI            ",
     2,
     48,
     9,
     2,
     2,
     "ECF-IF MP-25 FI",
     0,
     {"10", "B", "03", "0", "MP-25 FI", versoes::mfd_2_6_8}},
    {"MP-50 FI            ",
     4,
     40,
     9,
     3,
     2,
     "ECF-IF MP-50 FI",
     rec_descricao_22,
     {"16", "C", "03", "0", "MP-50 FI", versoes::mfd_4}},
    {"MP-2000 TH FI       ",
     5,
     48,
     5,
     0,
     2,
     "MP-2000 TH FI",
     rec_codigo_barras,
     {"08", "_", "03", "1", "", versoes::mfd_5}},
    {"MP-6000 TH FI       ",
     6,
     48,
     5,
     3,
     2,
     "MP-6000 TH FI",
     rec_cmc7 | rec_cheque_grupo1 | rec_codigo_barras,
     {"17", "_", "03", "1", "", versoes::mfd_2_6_8}},
    {"BR6000-TH           ",
     8,
     48,
     5,
     3,
     2,
     "BR6000-TH",
     rec_cmc7 | rec_cheque_grupo1,
     {"13", "_", "45", "1", "", versoes::mfd_2_6_8}},
    {"4610-KR4            ",
     9,
     48,
     5,
     3,
     2,
     "4610-KR4",
     rec_cmc7 | rec_cheque_grupo2 | rec_codigo_barras,
     {"01", "_", "18", "1", "", versoes::mfd_9}},
    {"4610-KN4            ",
     10,
     48,
     5,
     3,
     3,
     "4610-KN4",
     rec_cmc7 | rec_codigo_14 | rec_id_aplicacao | rec_item_opcional | rec_sensor_documento |
         rec_cheque_grupo2 | rec_codigo_barras | rec_data_sem_espaco,
     {"12", "_", "18", "1", "", versoes::mfd_7_10_12}},
    {"MP-2100 TH FI       ",
     13,
     48,
     5,
     0,
     2,
     "MP-2100 TH FI",
     rec_codigo_barras,
     {"09", "_", "03", "1", "", versoes::mfd_11_13}},
    {"MP-6100 TH FI       ",
     14,
     48,
     5,
     3,
     2,
     "MP-6100 TH FI",
     rec_cmc7 | rec_cheque_grupo2 | rec_codigo_barras,
     {"18", "_", "03", "1", "", versoes::mfd_14}},
    {"MP-3000 TH FI       ",
     11,
     48,
     5,
     0,
     2,
     "MP-3000 TH FI",
     rec_codigo_barras,
     {"19", "_", "03", "1", "", versoes::mfd_11_13}},
    {"MP-4000 TH FI       ",
     12,
     48,
     5,
     0,
     3,
     "MP-4000 TH FI",
     rec_id_aplicacao | rec_item_estendido | rec_codigo_barras | rec_data_sem_espaco,
     {"21", "_", "03", "1", "", versoes::mfd_7_10_12}},
    {"MP-7000 TH FI       ",
     7,
     48,
     5,
     3,
     2,
     "MP-7000 TH FI",
     rec_cmc7 | rec_codigo_14 | rec_id_aplicacao | rec_item_opcional | rec_sensor_documento |
         rec_cheque_grupo2 | rec_codigo_barras | rec_data_sem_espaco,
     {"20", "_", "03", "1", "", versoes::mfd_7_10_12}},
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

// Capabilities of the model found by ECFBMTC_le_versao (ECFBMTC_modelo_ecf);
// an unknown model has none.
inline const Modelo *modelo_atual() {
  return por_codigo(ECFBMTC_modelo_ecf);
}
inline bool tem_recurso(int codigo, uint16_t recurso) {
  const Modelo *m = por_codigo(codigo);
  return m != nullptr && (m->recursos & recurso) != 0;
}
inline bool modelo_tem(uint16_t recurso) {
  return tem_recurso(ECFBMTC_modelo_ecf, recurso);
}

// MFD printer (newer family) or older, as the version read found it.
inline bool eh_mfd() {
  return (BMTCLOCAL_flg_vers & 1) != 0;
}
inline void marca_mfd(bool mfd) {
  if (mfd)
    BMTCLOCAL_flg_vers |= 1;
  else
    BMTCLOCAL_flg_vers &= ~1;
}

constexpr bool tem_cmc7(int codigo) {
  for (const auto &m : tabela)
    if (m.codigo == codigo) return (m.recursos & rec_cmc7) != 0;
  return false;
}
static_assert(tem_cmc7(6) && tem_cmc7(10) && tem_cmc7(14) && !tem_cmc7(11) && !tem_cmc7(0));

inline bool tem_cheque() {
  const Modelo *m = modelo_atual();
  return m != nullptr && (m->capacidades & cap_cheque) != 0;
}
inline bool tem_autenticacao() {
  const Modelo *m = modelo_atual();
  return m != nullptr && (m->capacidades & cap_autenticacao) != 0;
}
inline bool tem_sensor_documento() {
  return modelo_tem(rec_sensor_documento);
}
inline bool fim_cheque_pelo_bit_limpo() {
  return modelo_tem(rec_cheque_grupo2);
}
// Which file holds the model's cheque layouts: group 0, 1 or 2.
inline int grupo_layout_cheque() {
  return modelo_tem(rec_cheque_grupo2) ? 2 : modelo_tem(rec_cheque_grupo1) ? 1 : 0;
}
inline bool imprime_codigo_barras() {
  return modelo_tem(rec_codigo_barras);
}
inline bool aceita_id_aplicacao() {
  return modelo_tem(rec_id_aplicacao);
}
// Width of the first printed line of an item description.
inline int largura_primeira_linha_item() {
  return modelo_tem(rec_descricao_22) ? 22 : 29;
}
inline std::size_t largura_codigo_item() {
  return modelo_tem(rec_codigo_14) ? 14 : 13;
}
// The date-time sent with a Reduction Z is written without its space.
inline bool data_hora_sem_espaco() {
  return modelo_tem(rec_data_sem_espaco);
}
inline CaminhoItem caminho_item() {
  if (modelo_tem(rec_item_estendido)) return CaminhoItem::estendido;
  if (modelo_tem(rec_item_opcional)) return CaminhoItem::estendido_opcional;
  return CaminhoItem::classico;
}

// What the information queries answer for the identified model.
inline const CodigosInfo &codigos_info() {
  static constexpr CodigosInfo nao_identificado{};
  const Modelo *m = modelo_atual();
  return m != nullptr ? m->info : nao_identificado;
}

// The national code of a firmware version: the older printers share one
// table, the MFD printers have one per model; "00" when not found.
constexpr std::string_view versao_nacional(bool mfd, int codigo, std::string_view versao) {
  if (codigo < 0 || codigo > 14) return "00";
  std::span<const VersaoCodigo> tabela_versoes = versoes::antigas;
  if (mfd) {
    tabela_versoes = {};
    for (const auto &m : tabela)
      if (m.codigo == codigo) tabela_versoes = m.info.versoes_mfd;
  }
  for (const auto &v : tabela_versoes)
    if (v.versao == versao) return v.codigo;
  return "00";
}
inline std::string_view versao_nacional_atual(std::string_view versao) {
  return versao_nacional(eh_mfd(), ECFBMTC_modelo_ecf, versao);
}
static_assert(versao_nacional(false, 1, "0330") == "09");
static_assert(versao_nacional(false, 3, "0331") == "08");
static_assert(versao_nacional(true, 4, "010000") == "02");
static_assert(versao_nacional(true, 1, "010000") == "00");
static_assert(versao_nacional(true, 15, "010000") == "00");

// The maker's converter of detail-tape downloads for the current model;
// empty for a model without one.
inline std::string_view conversor_mfd() {
  switch (ECFBMTC_modelo_ecf) {
    case 5:
    case 6:
    case 8:
    case 9:
    case 14:
      return "bemamfd";
    case 7:
    case 10:
    case 11:
    case 12:
    case 13:
      return "bemamfd2";
    default:
      return {};
  }
}

}  // namespace ecf::core
