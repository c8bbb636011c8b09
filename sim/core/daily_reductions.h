// A printer's fiscal memory grown for tests, benchmarks and demos: one
// Reduction Z a day, at noon, from 01/01/2026 on.
#pragma once

#include "core/printer.h"

namespace ecfsim {

void make_daily_reductions(Printer &printer, int days);

}  // namespace ecfsim
