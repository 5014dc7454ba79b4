#pragma once

#include <memory>

#include "settings/SharedState.h"
#include "timer/TimerControls.h"
#include "timer/TimerMenu.h"
#include "toolkit/Form.h"

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace tk {
class TMenuItem;
class TPopupMenu;
class TTimer;
}  // namespace tk
namespace tray {
class TwkTray;
}
namespace sounds {
class TCatalogue;
}
namespace timer {
class TTimerModes;
}

namespace app {

class ClickableImage;
class TFormAd;
class TFormSplash;

// The hidden main window and configuration window: owner of the tray icon, its popup
// menu, the random-play timer and the state the other windows share.
class TFormConfig : public tk::TForm {
 public:
  explicit TFormConfig(tk::TComponent* owner);
  ~TFormConfig() override;

  // The editors the configuration buttons open; set once they exist.
  void SetEditors(tk::TForm* formExternal, tk::TForm* formDLLs);

  settings::SharedState& State() { return state_; }

  // Controls, made when the window first shows (EnsureBuilt).
  QFrame* Bevel1 = nullptr;
  QToolButton* BtnExternal = nullptr;
  QLabel* Label1 = nullptr;
  QToolButton* BtnDLLs = nullptr;
  QLabel* Label2 = nullptr;
  QFrame* Bevel2 = nullptr;
  timer::TTimerControls TimerControls;
  QFrame* Bevel3 = nullptr;
  QPushButton* BtnDone = nullptr;
  ClickableImage* Image = nullptr;

  // Non-visual members.
  tk::TPopupMenu* PopupMenu;
  tk::TMenuItem* MenuAbout;
  tk::TMenuItem* MenuConfig;
  tk::TMenuItem* MenuTimer;
  tk::TMenuItem* MenuQuit;
  tk::TMenuItem* N1;
  tk::TMenuItem* MenuExternal;
  timer::TTimerMenu TimerMenu;
  tk::TTimer* Timer;
  tray::TwkTray* wkTray;

  TFormSplash* FormSplash = nullptr;
  TFormAd* FormAd = nullptr;

  // Handlers.
  void FormCreate();
  void FormDestroy();
  void MenuAboutClick(tk::TComponent* sender);
  void MenuConfigClick(tk::TComponent* sender);
  void MenuQuitClick(tk::TComponent* sender);
  void BtnDoneClick();
  void ShowAd();
  void BtnExternalClick();
  void BtnDLLsClick();
  void ReadSettings(tk::TComponent* sender);
  void PickRandomSound(tk::TComponent* sender);
  // A middle press on the tray icon, or a call from outside: silences the sound that
  // plays; the timer runs on.
  void StopSound(tk::TComponent* sender);

  sounds::TCatalogue& Catalogue() { return *catalogue_; }
  timer::TTimerModes& TimerModes() { return *timerModes_; }

 private:
  void CreateControls();
  void CreatePopupMenu();
  void CreateTray();
  // The tray callback message as this window gets it after the tray component, which
  // leaves the middle button alone.
  void wkTrayCallback(tk::TMessage& message);

  settings::SharedState state_;
  std::unique_ptr<sounds::TCatalogue> catalogue_;
  std::unique_ptr<timer::TTimerModes> timerModes_;
  tk::TForm* formExternal_ = nullptr;
  tk::TForm* formDLLs_ = nullptr;
};

}  // namespace app
