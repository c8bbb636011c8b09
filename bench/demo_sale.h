// The README's demo sale: the emulator program paced at a line speed, and
// ecfctl selling through the driver with its state file on the disk.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct SaleRun {
  double seconds = 0;       // the sale as ecfctl timed it
  double wire_seconds = 0;  // its bytes at 10 bits a byte
};

// Runs `sales` demo sales in a work folder under `where`; empty on failure
// (the reason on stderr).
std::vector<SaleRun> demo_sales(const std::string &where, long baud, int sales);

}  // namespace bench
