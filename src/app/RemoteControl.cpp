#include "app/RemoteControl.h"

#include <exception>
#include <stdexcept>
#include <string>

#include "app/Config.h"
#include "platform/RemoteControlNames.h"
#include "platform/SoundOutput.h"
#include "platform/VirtualMicrophone.h"
#include "platform/WindowHandles.h"
#include "settings/Microphone.h"
#include "settings/OutputDevice.h"
#include "sounds/Catalogue.h"
#include "sounds/SoundMenuPaths.h"
#include "toolkit/Menus.h"
#include "tray/TrayMenuExport.h"
#include "tray/wkTray.h"

namespace app {

using platform::RemoteAnswer;

namespace {

constexpr char kModeWords[] = "Off, 2Mins, 5Mins, Random or Custom";

// Runs a change that saves JBW.ini; its error reaches the caller naming the file.
template <typename Change>
void SaveOrRaise(Change change) {
  try {
    change();
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("not saved in JBW.ini: ") + e.what());
  }
}

}  // namespace

bool TRemoteControl::MenuShut() const {
  return !config_.PopupMenu->AutoPopup();
}

RemoteAnswer TRemoteControl::ShutAnswer() {
  return RemoteAnswer::Refused(platform::kRemoteErrorMenuShut,
                               tray::TTrayMenuExport::ClosedCaption);
}

RemoteAnswer TRemoteControl::Click(tk::TMenuItem* item) {
  if (MenuShut()) return ShutAnswer();
  // What waits in the event queue before the action may rebuild the menu or shut it.
  return RemoteAnswer::Accepted([this, serial = item->Serial()] {
    tk::TMenuItem* entry = config_.PopupMenu->Items()->FindBySerial(serial);
    if (!entry || MenuShut()) return;
    config_.PopupMenu->SetPopupComponent(config_.wkTray);
    entry->Click();
  });
}

RemoteAnswer TRemoteControl::Play(const std::string& entry) {
  tk::TMenuItem* item = sounds::FindSoundMenuPath(config_.Catalogue().SoundMenus(), entry);
  if (!item) {
    return RemoteAnswer::Refused(platform::kRemoteErrorNoSuchEntry,
                                 "no such entry: " + entry + " (--list shows them)");
  }
  return Click(item);
}

RemoteAnswer TRemoteControl::PlayRandom() {
  if (MenuShut()) return ShutAnswer();
  return RemoteAnswer::Accepted([this] { config_.PickRandomSound(&config_); });
}

RemoteAnswer TRemoteControl::Stop() {
  return RemoteAnswer::Accepted([this] { config_.StopSound(&config_); });
}

RemoteAnswer TRemoteControl::SetTimer(const std::string& mode) {
  const timer::TTimerMenu& m = config_.TimerMenu;
  tk::TMenuItem* item = mode == "Off"      ? m.SubMenuOff
                        : mode == "2Mins"  ? m.SubMenu2Mins
                        : mode == "5Mins"  ? m.SubMenu5Mins
                        : mode == "Random" ? m.SubMenuRandom
                        : mode == "Custom" ? m.SubMenuCustom
                                           : nullptr;
  if (!item) {
    return RemoteAnswer::Refused(platform::kRemoteErrorUnknownMode,
                                 "unknown timer mode '" + mode + "': one of " + kModeWords);
  }
  if (MenuShut()) return ShutAnswer();
  // Now, not after the answer: a save that fails is the caller's to hear of.
  config_.PopupMenu->SetPopupComponent(config_.wkTray);
  SaveOrRaise([item] { item->Click(); });
  return RemoteAnswer::Done();
}

RemoteAnswer TRemoteControl::ShowMenu() {
  if (MenuShut()) return ShutAnswer();
  // As a right press on the icon: the menu opens at the pointer.
  return RemoteAnswer::Accepted([this] {
    platform::SendMessageA(config_.Handle(), tray::TwkTray::TrayCallbackMessage,
                           config_.wkTray->TrayID(), platform::WM_RBUTTONDOWN);
  });
}

std::vector<std::string> TRemoteControl::List() {
  return sounds::SoundMenuPaths(config_.Catalogue().SoundMenus());
}

RemoteAnswer TRemoteControl::SetOutputDevice(const std::string& name) {
  SaveOrRaise([this, &name] { settings::SaveOutputDevice(config_.State().appFolder, name); });
  platform::SetSoundOutputDevice(name);
  return RemoteAnswer::Done();
}

RemoteAnswer TRemoteControl::SetMicrophone(bool on) {
  const std::string& folder = config_.State().appFolder;
  const auto before = settings::ReadMicrophone(folder);
  const platform::MicrophoneResult made =
      platform::SetVirtualMicrophone(folder, on, before.passthrough);
  if (made.status != platform::MicrophoneStatus::Done) {
    return RemoteAnswer::Refused(made.status == platform::MicrophoneStatus::NoServer
                                     ? platform::kRemoteErrorNoSoundServer
                                     : platform::kRemoteErrorFailed,
                                 made.message);
  }
  try {
    SaveOrRaise([&] { settings::SaveMicrophone(folder, on); });
  } catch (...) {
    // What is not kept must not be in effect either.
    platform::SetVirtualMicrophone(folder, before.on, before.passthrough);
    throw;
  }
  return RemoteAnswer::Done();
}

RemoteAnswer TRemoteControl::SetMicPassthrough(bool on) {
  const std::string& folder = config_.State().appFolder;
  SaveOrRaise([&] { settings::SaveMicPassthrough(folder, on); });
  if (settings::ReadMicrophone(folder).on) platform::SetVirtualMicrophone(folder, true, on);
  return RemoteAnswer::Done();
}

RemoteAnswer TRemoteControl::Quit() {
  return RemoteAnswer::Accepted([this] { config_.MenuQuitClick(config_.MenuQuit); });
}

}  // namespace app
