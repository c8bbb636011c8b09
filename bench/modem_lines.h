// Makes pseudo-terminals look like ports with modem lines, and counts the
// modem-status and line-error queries the host kit makes.
#pragma once

namespace bench {

// TIOCMGET and TIOCGICOUNT calls so far.
long modem_queries();

}  // namespace bench
