// Building blocks of the operations that accept a failure whose effect is
// already in place ("tratado como OK").
#pragma once

#include <cstddef>

#include "core/command.h"
#include "core/states.h"

namespace ecf::transport {

using core::EstadoEcf;
using core::sem_documento_aberto;
using enum core::EstadoEcf;

// Compares two big-endian unsigned numbers of the same width:
// negative, zero or positive as a is below, equal to or above b.
int compara_numeros(const unsigned char *a, const unsigned char *b, std::size_t width);

using core::tratado_como_ok;

}  // namespace ecf::transport
