#include "platform/RemoteControlService.h"

#include "platform/linux/control/RemoteControlObject.h"

namespace platform {

RemoteControlService::RemoteControlService(const std::string& appFolder)
    : object_(std::make_unique<RemoteControlObject>(appFolder)) {}

RemoteControlService::~RemoteControlService() = default;

RemoteControlService::Claim RemoteControlService::ClaimName() {
  return object_->ClaimName();
}

void RemoteControlService::SetCommands(RemoteCommands* commands) {
  object_->SetCommands(commands);
}

void RemoteControlService::SetQuitWhileStarting(std::function<void()> quit) {
  object_->SetQuitWhileStarting(std::move(quit));
}

}  // namespace platform
