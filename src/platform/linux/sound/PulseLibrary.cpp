#include "platform/linux/sound/PulseLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace platform {

const PulseLibrary* Pulse() {
  static PulseLibrary library;
  static bool complete = false;
  static std::once_flag once;
  std::call_once(once, [] {
    // Never closed: its threads and atexit handlers may outlive any one use.
    void* handle = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return;
    complete = true;
#define JBW_PULSE_RESOLVE(NAME)                                                  \
  library.NAME = reinterpret_cast<decltype(library.NAME)>(dlsym(handle, #NAME)); \
  complete = complete && library.NAME;
    JBW_PULSE_CALLS(JBW_PULSE_RESOLVE)
#undef JBW_PULSE_RESOLVE
  });
  return complete ? &library : nullptr;
}

}  // namespace platform
