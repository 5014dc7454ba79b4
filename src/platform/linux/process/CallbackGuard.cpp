#include "platform/CallbackGuard.h"

#include <QtGlobal>
#include <exception>

namespace platform {

namespace {
CallbackGuard& Guard() {
  static CallbackGuard guard;
  return guard;
}
}  // namespace

void SetCallbackGuard(CallbackGuard guard) {
  Guard() = std::move(guard);
}

void RunGuarded(const std::function<void()>& callback) {
  try {
    if (Guard()) {
      Guard()(callback);
    } else {
      callback();
    }
  } catch (const std::exception& e) {
    qWarning("jabberwell: unhandled error: %s", e.what());
  } catch (...) {
    qWarning("jabberwell: unhandled error");
  }
}

}  // namespace platform
