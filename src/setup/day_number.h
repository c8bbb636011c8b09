// Day numbers of the printer's BCD dates, for comparing a movement date with
// the clock.
#pragma once

namespace ecf::setup {

// Days from 1 January 1970 to the BCD date (day, month, two-digit year of
// the century 20); 0 when the date is not one.
long numero_do_dia(unsigned char dia, unsigned char mes, unsigned char ano);

}  // namespace ecf::setup
