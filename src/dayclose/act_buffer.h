// The act file generator's working buffer: the printer's identification,
// read once per context, and the figures read again at each record.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ecf::dayclose {

struct BufferAto {
  uint8_t flags;  // bit 0 identification loaded, bit 1 identity loaded
  char serie[20];
  char crz[4];
  char cro[4];
  char coo[6];
  char contador_7[6];
  char contador_55[6];
  char contador_31[6];
  char contador_54[6];
  char contador_56[6];
  char total_3[18];
  char cnpj[20];
  char texto_58[20];
  char versao[6];
  char codigo_16[2];
  char numero_11[4];
  char fabricante[15];
  char modelo[20];
  char tipo[7];
  char relogio[12];
  char nomes_cnf[30][19];
  uint8_t valores_cnf[30][7];
  char nomes_fpag[20][16];
  uint8_t valores_fpag[20][7];
  uint8_t reserva[160];
};

inline constexpr unsigned tamanho_buffer_ato = 1589;
static_assert(sizeof(BufferAto) == tamanho_buffer_ato);
static_assert(offsetof(BufferAto, serie) == 1);
static_assert(offsetof(BufferAto, total_3) == 65);
static_assert(offsetof(BufferAto, cnpj) == 83);
static_assert(offsetof(BufferAto, numero_11) == 131);
static_assert(offsetof(BufferAto, fabricante) == 135);
static_assert(offsetof(BufferAto, relogio) == 177);
static_assert(offsetof(BufferAto, nomes_cnf) == 189);
static_assert(offsetof(BufferAto, valores_cnf) == 759);
static_assert(offsetof(BufferAto, nomes_fpag) == 969);
static_assert(offsetof(BufferAto, valores_fpag) == 1289);
static_assert(offsetof(BufferAto, reserva) == 1429);

}  // namespace ecf::dayclose
