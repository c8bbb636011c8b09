// The six-byte BCD date-time (day, month, two-digit year, hour, minute,
// second) sent with a Reduction Z, and the small arithmetic the clock
// correction needs on it.
#pragma once

#include <array>
#include <cstddef>

namespace ecf::dayclose {

using Momento = std::array<unsigned char, 6>;

// Moves the record back or forward by n seconds (1 to 293: at most one hour
// is ever borrowed or carried).
void tira_segundos(Momento &m, int n);
void soma_segundos(Momento &m, int n);

// The record as sent with command 5: "DDMMYY hhmmss" (13 characters) or,
// without the space, 12. Returns the length written into `texto` (14 bytes).
std::size_t texto_do_momento(const Momento &m, bool sem_espaco, char (&texto)[14]);

}  // namespace ecf::dayclose
