// The command line of ecfsim.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/printer.h"
#include "wire/device.h"

namespace ecfsim::program {

struct Options {
  int model_code = 12;  // MP-4000 TH FI
  Protocol protocol = Protocol::Basic;
  std::string link;
  uint32_t baud = 0;
  uint32_t delay_ms = 0;
  uint32_t reduction_busy_ms = 2000;
  int64_t clock_offset_s = 0;
  std::string state_file;
  std::string paper_file;
  WireFaults wire_faults;
  PrinterFaults printer_faults;
  bool help = false;
  bool version = false;
};

// Parses argv. On a bad command line returns nothing and says why in `error`.
std::optional<Options> parse_options(const std::vector<std::string> &args, std::string &error);

// Applies one --fault FAULT; false when ecfsim does not know it.
bool apply_fault(const std::string &fault, Options &options);

// The text of --help.
std::string usage_text();

}  // namespace ecfsim::program
