#pragma once

#include "platform/RemoteCommands.h"

namespace tk {
class TMenuItem;
}

namespace app {

class TFormConfig;

// The control service's calls as the tray menu's own commands: a call runs the handler
// a click on the matching entry runs, and is refused as the menu is while a window of
// the program is on the screen (Stop, List, Quit and SetOutputDevice excepted). The
// calls that save (SetTimer, SetOutputDevice) save before they answer and raise the
// save's error.
class TRemoteControl : public platform::RemoteCommands {
 public:
  explicit TRemoteControl(TFormConfig& config) : config_(config) {}

  platform::RemoteAnswer Play(const std::string& entry) override;
  platform::RemoteAnswer PlayRandom() override;
  platform::RemoteAnswer Stop() override;
  platform::RemoteAnswer SetTimer(const std::string& mode) override;
  platform::RemoteAnswer ShowMenu() override;
  std::vector<std::string> List() override;
  platform::RemoteAnswer Quit() override;
  platform::RemoteAnswer SetOutputDevice(const std::string& name) override;
  platform::RemoteAnswer SetMicrophone(bool on) override;
  platform::RemoteAnswer SetMicPassthrough(bool on) override;

 private:
  bool MenuShut() const;
  static platform::RemoteAnswer ShutAnswer();
  // The entry's click, as the tray menu runs it.
  platform::RemoteAnswer Click(tk::TMenuItem* item);

  TFormConfig& config_;
};

}  // namespace app
