#include "setup/serial_number.h"

namespace ecf::setup::serie {
namespace {

bool eh_hexa(uint8_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

uint8_t valor(uint8_t c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 'a' + 10);
  return 0;
}

}  // namespace

void empacota(const uint8_t *texto, int tamanho, uint8_t destino[4]) {
  int fim = tamanho;
  while (fim > 0 && !eh_hexa(texto[fim - 1])) --fim;
  uint8_t digitos[8] = {};
  for (int i = 0; i < 8; ++i) {
    const int pos = fim - 8 + i;
    digitos[i] = pos >= 0 ? valor(texto[pos]) : 0;
  }
  for (int i = 0; i < 4; ++i)
    destino[i] = static_cast<uint8_t>((digitos[2 * i] << 4) + digitos[2 * i + 1]);
}

}  // namespace ecf::setup::serie
