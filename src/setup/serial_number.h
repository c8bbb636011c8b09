// Packing of the serial number's last eight characters into four bytes.
#pragma once

#include <cstdint>

namespace ecf::setup::serie {

// Trailing characters that are not hexadecimal digits are dropped; fewer
// than eight remaining characters pack with leading zeros.
void empacota(const uint8_t *texto, int tamanho, uint8_t destino[4]);

}  // namespace ecf::setup::serie
