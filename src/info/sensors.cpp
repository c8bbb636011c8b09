// The printer's sensors as a 5-byte record, and the authentication-document
// query these printers have no sensor for.
#include <array>
#include <cstdio>
#include <cstring>

#include "core/core.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace {

using namespace ecf::core;
using resposta::dado;

constexpr unsigned char sensor_ativo = 0xAA;
constexpr std::uint8_t st1_fim_de_papel = 0x80;

// Mask bit values and the record byte each one asks for.
enum : int { m_sensor = 1, m_gaveta = 2, m_papel = 4, m_zero = 8, m_um = 16, m_todos = 31 };
enum : std::size_t { s_gaveta = 0, s_papel = 1, s_um = 2, s_sensor = 3, s_zero = 4, s_tam = 5 };

int le_mascara(int mascara, std::array<std::uint8_t, s_tam> &s) {
  s.fill(0);
  if (mascara & (m_papel | m_zero | m_um)) {
    if (const int r = ECFBMTC_le_status(); r != 0) return r;
    if (mascara & m_papel) s[s_papel] = (ECFIF_buffer_protocolo[1] & st1_fim_de_papel) ? 1 : 0;
    if (mascara & m_um) s[s_um] = 1;
  }
  if (mascara & m_gaveta) {
    if (const int r = ECFBMTC_exec(cmd::le_sensor_gaveta); r != 0) return r;
    const bool aberta = dado(0) != 0;
    s[s_gaveta] = (aberta != (ECFBMTCAUX_logica_gaveta != 0)) ? 1 : 0;
  }
  if (mascara & m_sensor) {
    if (const int r = ECFBMTC_le_parametro(var::sensor); r != 0) return r;
    s[s_sensor] = dado(0) == sensor_ativo ? 1 : 0;
  }
  std::memcpy(ECFIF_retornado, s.data(), s.size());
  ECFIF_tam_retorno = static_cast<int>(s.size());
  return 0;
}

int le_sensores(int mascara, const char *nome, bool com_mascara) {
  if (com_mascara)
    registra(log_interface, "%s(%d)...", nome, mascara);
  else
    registra(log_interface, "%s()...", nome);
  std::array<std::uint8_t, s_tam> s{};
  const int r = le_mascara(mascara, s);
  if (r != 0) {
    registra(log_interface, "%s()=%d.", nome, r);
  } else if (ECFLOG_modo & log_interface) {
    char rotulo[32];
    std::snprintf(rotulo, sizeof rotulo, "%s()", nome);
    ECFLOG_dump(rotulo, s.data(), static_cast<int>(s.size()));
  }
  return r;
}

}  // namespace

extern "C" {

int ECFIF_le_sensores(void) {
  return le_sensores(m_todos, "le_sensores", false);
}

int ECFIF_le_selec_sensores(int mascara) {
  return le_sensores(mascara, "le_selec_sensores", true);
}

int ECFIF_tem_doc_autent(void) {
  registra(log_interface, "tem_doc_autent()");
  return 0;
}

}  // extern "C"
