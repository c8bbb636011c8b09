#include "core/daily_reductions.h"

#include <cstdint>
#include <cstdio>

#include "core/printer_state.h"

namespace ecfsim {

void make_daily_reductions(Printer &printer, int days) {
  const int64_t first = days_from_civil(2026, 1, 1);
  for (int d = 0; d < days; ++d) {
    const Civil c = civil_from_seconds((first + d) * 86400);
    char arg[48];
    std::snprintf(arg, sizeof arg, "%02d%02d%02d120000", c.day, c.month, c.year % 100);
    printer.execute(5, arg);
  }
}

}  // namespace ecfsim
