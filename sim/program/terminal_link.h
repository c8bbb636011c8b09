// The --link symbolic link to the terminal's path.
#pragma once

#include <string>

namespace ecfsim::program {

// Makes `link` point to `target`. A symbolic link already there (left by a
// run that was killed) is replaced; any other file is left alone and fails.
bool make_terminal_link(const std::string &link, const std::string &target, std::string &error);

// Removes `link` if it still points to `target` (another run may own it now).
void remove_terminal_link(const std::string &link, const std::string &target);

}  // namespace ecfsim::program
