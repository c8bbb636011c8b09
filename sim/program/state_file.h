// The printer's memory on disk, so that it survives a stop (or a kill) of
// the program.
#pragma once

#include <string>
#include <string_view>

namespace ecfsim::program {

enum class StateRead { Loaded, Missing, Failed };

// Reads the whole file into `bytes`. Missing: no such file.
StateRead read_state_file(const std::string &path, std::string &bytes, std::string &error);

// Replaces the file in one step: a reader (or a restart after a kill) sees
// either the old or the new contents, never a part.
bool write_state_file(const std::string &path, std::string_view bytes, std::string &error);

}  // namespace ecfsim::program
