// The printer's clock as an 8-byte record: date and time in BCD with the
// century, and the daylight-saving flag.
#include <array>
#include <cstring>

#include "core/core.h"
#include "ecfbmtc.h"

namespace {

using namespace ecf::core;
using resposta::dado;

constexpr std::uint8_t seculo = 0x20;
constexpr std::size_t tam_registro = 8;

int le_relogio(std::array<std::uint8_t, tam_registro> &reg) {
  if (const int r = ECFBMTC_le_parametro(var::relogio); r != 0) return r;
  // day, month, year, hour, minute, second
  std::array<std::uint8_t, 6> momento{};
  resposta::copia_dados(momento.data(), 0, static_cast<int>(momento.size()));
  if (const int r = ECFBMTC_le_parametro(var::flags_documento); r != 0) return r;
  const std::uint8_t verao = (dado(0) & var::bit_verao) ? 1 : 0;
  reg = {momento[0], momento[1], seculo, momento[2], momento[3], momento[4], momento[5], verao};
  return 0;
}

}  // namespace

extern "C" {

int ECFIF_le_relogio(void) {
  registra(log_interface, "le_relogio()...");
  marca_repeticao(Repete::ultimo_comando);
  std::array<std::uint8_t, tam_registro> reg{};
  if (const int r = le_relogio(reg); r != 0) {
    marca_repeticao(Repete::le_relogio);
    return r;
  }
  std::memcpy(ECFIF_retornado, reg.data(), reg.size());
  ECFIF_tam_retorno = static_cast<int>(reg.size());
  registra(log_interface, "le_relogio():%02x/%02x/%02x%02x %02x:%02x:%02x v=%u.", reg[0], reg[1],
           reg[2], reg[3], reg[4], reg[5], reg[6], static_cast<unsigned>(reg[7]));
  return 0;
}

int ECFIF_le_datalida(void *destino) {
  registra(log_interface, "le_datalida()");
  if (destino == nullptr) return 2;
  if (const int r = ECFIF_le_relogio(); r != 0) return r;
  if (ECFIF_tam_retorno < static_cast<int>(tam_registro)) return 30;
  std::memcpy(destino, ECFIF_retornado, tam_registro);
  return 0;
}

}  // extern "C"
