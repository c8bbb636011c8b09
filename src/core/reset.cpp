#include "core/reset.h"

#include <array>
#include <cstdlib>

namespace ecf::core {

namespace {

struct Registro {
  std::array<void (*)(), max_modulos> funcoes{};
  std::size_t n = 0;
};

// Built on first use, so modules may register during static initialisation.
Registro &registro() {
  static Registro r;
  return r;
}

}  // namespace

Reinicio::Reinicio(void (*valores_iniciais)()) {
  Registro &r = registro();
  // A module too many is a build fault, found by the first test run.
  if (r.n >= r.funcoes.size()) std::abort();
  r.funcoes[r.n++] = valores_iniciais;
  valores_iniciais();
}

void volta_ao_estado_inicial() {
  const Registro &r = registro();
  for (std::size_t i = 0; i < r.n; ++i) r.funcoes[i]();
}

}  // namespace ecf::core
