#include "registry.h"

namespace ecfctl {
namespace {

// Function-local so registrars in other files may run first.
std::vector<Subcommand> &table() {
  static std::vector<Subcommand> commands;
  return commands;
}

}  // namespace

Registrar::Registrar(std::initializer_list<Subcommand> commands) {
  table().insert(table().end(), commands.begin(), commands.end());
}

const Subcommand *find_subcommand(std::string_view name) {
  for (const Subcommand &c : table()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

std::span<const Subcommand> registered_subcommands() {
  return table();
}

}  // namespace ecfctl
