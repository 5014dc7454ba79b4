#include "platform/linux/sound/PipeWireServer.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace platform {

namespace {

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

}  // namespace

bool PipeWireServerRunning() {
  std::string path = Env("PIPEWIRE_REMOTE") ? Env("PIPEWIRE_REMOTE") : "pipewire-0";
  if (path.front() != '/') {
    const char* dir =
        Env("PIPEWIRE_RUNTIME_DIR") ? Env("PIPEWIRE_RUNTIME_DIR") : Env("XDG_RUNTIME_DIR");
    if (!dir) return false;
    path = std::string(dir) + "/" + path;
  }
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

}  // namespace platform
