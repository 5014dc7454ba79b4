#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "app/AppFolder.h"
#include "app/Config.h"
#include "platform/WindowHandles.h"
#include "support/QtTestApp.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "tray/wkTray.h"

// fontconfig keeps its cache until exit; the leak checker would count it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

// The main window in its own application folder, with the registry file saying whether
// the sound-unit product is installed, and popups recorded instead of shown.
class ConfigTest : public ::testing::Test {
 protected:
  void Start(bool productInstalled) {
    EnsureToolkitApp();
    app::SetApplicationFolderForTests(folder.Path());
    folder.Write("registry.ini",
                 productInstalled ? "[Software\\Grindlewood]\r\nBrakken=Installed\r\n" : "");
    ::setenv("JBW_REGISTRY_FILE", folder.File("registry.ini").c_str(), 1);
    previousPresenter = tk::SetMenuPresenter([this](tk::TPopupMenu&, int, int) -> tk::TMenuItem* {
      ++popups;
      return nullptr;
    });
    config = std::make_unique<app::TFormConfig>(nullptr);
  }
  void TearDown() override {
    config.reset();
    tk::SetMenuPresenter(previousPresenter);
    app::SetApplicationFolderForTests("");
  }

  bool AutoPopup() const { return config->PopupMenu->AutoPopup(); }
  void RightPress() {
    platform::SendMessageA(config->Handle(), tray::TwkTray::TrayCallbackMessage,
                           config->wkTray->TrayID(), platform::WM_RBUTTONDOWN);
  }

  TempFolder folder;
  tk::ScriptedDialogs dialogs;
  tk::TMenuPresenter previousPresenter;
  std::unique_ptr<app::TFormConfig> config;
  int popups = 0;
};
