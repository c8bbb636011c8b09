// Subcommands that live in their own files. A family of commands (the day,
// reports, information, ...) registers itself from its file:
//
//   namespace {
//   int cmd_x(Session &s, const std::vector<std::string> &args) { ... }
//   const Registrar kDay{{
//       {"x", "x [TEXT]              Reading X (with a report text)", cmd_x},
//   }};
//   }  // namespace
//
// and needs no edit anywhere else: the help lists its lines and the command
// line finds it by name.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ecfctl {

class Session;

struct Subcommand {
  std::string_view name;
  std::string_view usage;  // one help line, starting with the name
  int (*run)(Session &s, const std::vector<std::string> &args);
  // Optional check of the words before anything is loaded; false: usage error
  // (the check prints why).
  bool (*check)(const std::vector<std::string> &args) = nullptr;
};

class Registrar {
 public:
  Registrar(std::initializer_list<Subcommand> commands);
};

const Subcommand *find_subcommand(std::string_view name);
std::span<const Subcommand> registered_subcommands();

}  // namespace ecfctl
