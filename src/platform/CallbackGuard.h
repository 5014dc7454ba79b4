#pragma once

#include <functional>

// Qt calls into program code (tray mouse actions reaching a window procedure) go through
// the guard, so that no exception crosses into Qt. The toolkit installs its default error
// handler here; until then an exception is written to the log and dropped.
namespace platform {

using CallbackGuard = std::function<void(const std::function<void()>&)>;

void SetCallbackGuard(CallbackGuard guard);
void RunGuarded(const std::function<void()>& callback);

}  // namespace platform
