#include "app/MicrophoneCommand.h"

#include <cstdio>
#include <exception>
#include <string>

#include "app/AppFolder.h"
#include "platform/RemoteControlNames.h"
#include "platform/VirtualMicrophone.h"
#include "settings/Microphone.h"

namespace app {

namespace {

platform::RemoteCallResult Refused(const char* errorName, std::string message) {
  platform::RemoteCallResult result;
  result.status = platform::RemoteCallResult::Status::Refused;
  result.errorName = errorName;
  result.message = std::move(message);
  return result;
}

}  // namespace

platform::RemoteCallResult CallMicrophone(const char* method, bool on) {
  const std::string folder = ApplicationFolder();
  platform::RemoteCallResult result = platform::CallRemoteControlSwitch(folder, method, on);
  using Status = platform::RemoteCallResult::Status;
  if (result.status == Status::Done || result.status == Status::Refused) return result;
  // No board to tell: the choice goes into its settings file for its next start.
  const bool microphone = std::string(method) == kSetMicrophone;
  if (microphone && on && !platform::VirtualMicrophoneServerRunning()) {
    return Refused(platform::kRemoteErrorNoSoundServer, platform::kNoSoundServerMessage);
  }
  try {
    if (microphone)
      settings::SaveMicrophone(folder, on);
    else
      settings::SaveMicPassthrough(folder, on);
  } catch (const std::exception& e) {
    return Refused(platform::kRemoteErrorFailed, e.what());
  }
  return {};
}

void StartMicrophone() {
  const std::string folder = ApplicationFolder();
  const settings::MicrophoneSetting setting = settings::ReadMicrophone(folder);
  if (!setting.on) return;
  const platform::MicrophoneResult made =
      platform::SetVirtualMicrophone(folder, true, setting.passthrough);
  if (made.status != platform::MicrophoneStatus::Done)
    std::fprintf(stderr, "jabberwell: %s\n", made.message.c_str());
}

}  // namespace app
