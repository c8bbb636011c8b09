// The driver's own way back to its load-time state. Each module that keeps
// statics defines one Reinicio with a function that sets them to their
// load-time values; the function also runs once at load, so the values are
// written in one place only. Internal: not exported.
#pragma once

#include <cstddef>

namespace ecf::core {

class Reinicio {
 public:
  explicit Reinicio(void (*valores_iniciais)());
  Reinicio(const Reinicio &) = delete;
  Reinicio &operator=(const Reinicio &) = delete;
};

// Puts every registered module back to its load-time state, in the order
// the modules registered.
void volta_ao_estado_inicial();

inline constexpr std::size_t max_modulos = 32;

}  // namespace ecf::core
