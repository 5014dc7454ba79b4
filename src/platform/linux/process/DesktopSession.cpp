#include "platform/DesktopSession.h"

#include <cstdlib>
#include <string_view>

namespace platform {

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

bool DesktopSessionAvailable() {
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY")) return true;
  if (!Set("QT_QPA_PLATFORM")) return false;
  const std::string_view chosen = std::getenv("QT_QPA_PLATFORM");
  return !chosen.starts_with("xcb") && !chosen.starts_with("wayland");
}

}  // namespace platform
