// Where the log lines go, shared by the log library and the operator notices.
#ifndef ECFHOST_LOG_SINK_H
#define ECFHOST_LOG_SINK_H

#include <string_view>

namespace ecfhost {

// Appends one timestamped line (the text without its line feed).
void log_line(std::string_view texto);

// True while the log goes to stderr (no log file named).
bool log_on_stderr();

}  // namespace ecfhost

#endif
