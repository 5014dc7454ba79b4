#include "app/EventLog.h"

#include <cstdio>
#include <cstdlib>

namespace app {

namespace {

const char* LogPath() {
  static const char* path = std::getenv("JBW_E2E_LOG");
  return path && *path ? path : nullptr;
}

}  // namespace

bool EventLogEnabled() {
  return LogPath() != nullptr;
}

void LogEvent(const std::string& line) {
  const char* path = LogPath();
  if (!path) return;
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

}  // namespace app
