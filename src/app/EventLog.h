#pragma once

#include <string>

namespace app {

// Appends one line to the file named by JBW_E2E_LOG, when it is set: how the end-to-end
// tests see what the program did. Does nothing otherwise.
void LogEvent(const std::string& line);

// Whether JBW_E2E_LOG names a file, so callers skip building lines nobody reads.
bool EventLogEnabled();

}  // namespace app
