// Building blocks of the operations that accept a failure whose effect is
// already in place ("tratado como OK").
#pragma once

#include <cstddef>

namespace ecf::transport {

// Document states read from the printer (ECFBMTC_le_estado_do_ecf).
enum EstadoEcf : unsigned char {
  sem_documento_sem_dia = 1,
  sem_documento = 2,
  cupom_aberto = 3,
  cnf_aberto = 4,
  vinculado_aberto = 5,
  cupom_fase_final = 6,
  cupom_fase_final_pago = 7,
  relatorio_aberto = 9,
  sem_documento_sinalizado = 51,
  sem_documento_com_dia = 52,
};

// States 1, 2, 51 and 52: no document open.
constexpr bool sem_documento_aberto(unsigned char estado) {
  return estado == 1 || estado == 2 || estado == 51 || estado == 52;
}

// Compares two big-endian unsigned numbers of the same width:
// negative, zero or positive as a is below, equal to or above b.
int compara_numeros(const unsigned char *a, const unsigned char *b, std::size_t width);

// Logs "<nome>()=<resultado>, tratado como OK." (log bit 0) and returns 0.
int tratado_como_ok(const char *nome, int resultado);

}  // namespace ecf::transport
