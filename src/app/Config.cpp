#include "app/Config.h"

#include <string>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QWidget>

#include "app/Ad.h"
#include "app/AppFolder.h"
#include "app/Artwork.h"
#include "app/ClickableImage.h"
#include "app/Splash.h"
#include "platform/Icons.h"
#include "platform/Registry.h"
#include "platform/SoundOutput.h"
#include "platform/linux/QtBridge.h"
#include "rtl/Random.h"
#include "sounds/Catalogue.h"
#include "timer/TimerModes.h"
#include "toolkit/Application.h"
#include "toolkit/ControlBuilders.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "tray/wkTray.h"

namespace app {

namespace {

QIcon Glyph(const QPixmap& normal, const QPixmap& disabled) {
  QIcon glyph(normal);
  glyph.addPixmap(disabled, QIcon::Disabled);
  return glyph;
}

tk::TMenuItem* NewMenuItem(tk::TComponent* owner, tk::TMenuItem* parent, const char* name,
                           const char* caption, tk::TNotifyEvent onClick = {}) {
  auto* item = new tk::TMenuItem(owner);
  item->SetName(name);
  item->SetCaption(caption);
  item->OnClick = std::move(onClick);
  parent->Add(item);
  return item;
}

}  // namespace

TFormConfig::TFormConfig(tk::TComponent* owner)
    : tk::TForm(owner,
                new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)) {
  // Like a form read from its stored description: components first, then the loaded
  // notifications (which add the tray icon), then FormCreate.
  BeginLoading();
  SetName("FormConfig");
  SetCaption("Jabberwell v3 - Configuration");
  SetClientSize(344, 208);
  SetCenterOnShow(true);
  // Most runs never open the window: its controls, and the fonts and icons they load,
  // wait for its first showing. The timer's mode waits in the timer's switches.
  BuildWhenNeeded([this] { CreateControls(); });
  CreatePopupMenu();
  Timer = new tk::TTimer(this);
  Timer->SetName("Timer");
  CreateTray();
  SetMessageHandler(tray::TwkTray::TrayCallbackMessage,
                    [this](tk::TMessage& message) { wkTrayCallback(message); });
  EndLoading();

  timerModes_ = std::make_unique<timer::TTimerModes>(TimerMenu, *Timer, state_,
                                                     [this] { PickRandomSound(this); });
  // The sounds go into "External Sounds" and the unit menus right after it.
  catalogue_ = std::make_unique<sounds::TCatalogue>(state_, this, *MenuExternal, *MenuExternal,
                                                    [this] { timerModes_->RestoreTimer(); });

  tk::Guard([this] { FormCreate(); });
}

TFormConfig::~TFormConfig() {
  FormDestroy();
  // The timer handlers refer to controls that the base destroys.
  timerModes_.reset();
}

void TFormConfig::SetEditors(tk::TForm* formExternal, tk::TForm* formDLLs) {
  formExternal_ = formExternal;
  formDLLs_ = formDLLs;
}

void TFormConfig::CreateControls() {
  QWidget* w = Widget();
  tk::SetFormFont(w);

  Bevel1 = tk::MakeBevel(w, "Bevel1", {8, 8, 241, 97}, false);
  BtnExternal = tk::MakePictureButton(w, "BtnExternal", {16, 20, 25, 25},
                                      Glyph(DrawWavGlyph(true), DrawWavGlyph(false)),
                                      "Add/Remove External Wavs to Play List", 21);
  Label1 = tk::MakeLabel(w, "Label1", 48, 24, "Register External Sounds", {.points = 10});
  BtnDLLs = tk::MakePictureButton(w, "BtnDLLs", {16, 64, 25, 25},
                                  Glyph(DrawUnitGlyph(true), DrawUnitGlyph(false)),
                                  "Add/Remove DLLs to Play List", 21);
  Label2 = tk::MakeLabel(w, "Label2", 48, 68, "Register Brakken Sound Units", {.points = 10});

  Bevel2 = tk::MakeBevel(w, "Bevel2", {8, 112, 241, 89}, false);
  TimerControls = timer::CreateTimerControls(w);

  Bevel3 = tk::MakeBevel(w, "Bevel3", {256, 8, 81, 193}, true);
  BtnDone = tk::Place(new QPushButton("Done", w), "BtnDone", {264, 16, 65, 25},
                      "Close the Configuration Window");
  BtnDone->setIcon(w->style()->standardIcon(QStyle::SP_DialogOkButton));
  BtnDone->setDefault(true);
  Image = tk::Place(new ClickableImage(w), "Image", {262, 52, 69, 59});
  Image->setAlignment(Qt::AlignCenter);
  Image->setPixmap(DrawConfigPicture());
  const char* credits[] = {"Jabberwell v3", "Tray sound board", "\u00a9 2026", "Jabberwell team"};
  for (int i = 0; i < 4; ++i) {
    const std::string name = "Credit" + std::to_string(i + 1);
    QLabel* line = tk::MakeLabel(w, name.c_str(), 258, 124 + i * 16, credits[i], {.points = 7});
    line->setAlignment(Qt::AlignHCenter);
    line->resize(77, 15);
  }

  QWidget::setTabOrder(BtnDone, TimerControls.RBtn2Mins);

  tk::Connect(BtnDone, &QPushButton::clicked, w, [this] { BtnDoneClick(); });
  tk::Connect(BtnExternal, &QToolButton::clicked, w, [this] { BtnExternalClick(); });
  tk::Connect(BtnDLLs, &QToolButton::clicked, w, [this] { BtnDLLsClick(); });
  tk::Connect(Image, &ClickableImage::doubleClicked, w, [this] { PickRandomSound(this); });

  timerModes_->AttachControls(TimerControls);
}

void TFormConfig::CreatePopupMenu() {
  PopupMenu = new tk::TPopupMenu(this);
  PopupMenu->SetName("PopupMenu");
  tk::TMenuItem* root = PopupMenu->Items();
  MenuAbout = NewMenuItem(this, root, "MenuAbout", "About",
                          [this](tk::TComponent* s) { MenuAboutClick(s); });
  MenuConfig = NewMenuItem(this, root, "MenuConfig", "Configuration",
                           [this](tk::TComponent* s) { MenuConfigClick(s); });
  MenuTimer = NewMenuItem(this, root, "MenuTimer", "Timer");
  TimerMenu = timer::CreateTimerMenu(this, MenuTimer);
  MenuQuit = NewMenuItem(this, root, "MenuQuit", "Quit Program",
                         [this](tk::TComponent* s) { MenuQuitClick(s); });
  N1 = NewMenuItem(this, root, "N1", "-");
  MenuExternal = NewMenuItem(this, root, "MenuExternal", "External Sounds");
  // A clip may be picked next: the sound device opens while the user looks.
  PopupMenu->OnPopup = [](tk::TComponent*) { platform::OpenSoundOutputAhead(); };
}

void TFormConfig::CreateTray() {
  wkTray = new tray::TwkTray(this);
  wkTray->SetName("wkTray");
  // The stored picture is the icon shown; the resource list ("MAINICON") and the index
  // (0) are the component's own.
  wkTray->SetIcon(platform::IconFromHandle(platform::LoadIconA(0, "MAINICON")));
  wkTray->SetPopupMenu(PopupMenu);
  wkTray->SetTip("Jabberwell v3");
}

void TFormConfig::wkTrayCallback(tk::TMessage& message) {
  if (message.WParam == wkTray->TrayID() && message.LParam == platform::WM_MBUTTONDOWN) {
    StopSound(wkTray);
  }
}

void TFormConfig::FormCreate() {
  rtl::Randomize();
  // The slot limits and the lists with their placeholders come with state_; ReadSettings
  // fills the lists.
  PopupMenu->SetAutoPopup(false);
  const std::string brakken = platform::ReadRegistryString(platform::HKEY_LOCAL_MACHINE,
                                                           "\\Software\\Grindlewood", "Brakken");
  state_.advertDue = brakken != "Installed";

  FormSplash = new TFormSplash(this, state_.advertDue, *PopupMenu,
                               [this](bool paintNow) { FormAd->Present(paintNow); });
  FormAd = new TFormAd(this, *PopupMenu);
  FormSplash->Show();
  FormSplash->Repaint();
  FormSplash->Timer->SetInterval(5000);

  state_.appFolder = ApplicationFolder();
  ReadSettings(this);
  if (state_.soundList.size() > 1) PickRandomSound(this);
}

void TFormConfig::FormDestroy() {
  std::lock_guard lock(state_.listsMutex);
  state_.soundList.clear();
  state_.unitList.clear();
  state_.recentPicks.clear();
}

void TFormConfig::MenuAboutClick(tk::TComponent*) {
  PopupMenu->SetAutoPopup(false);
  FormSplash->Show();
  FormSplash->Timer->SetInterval(8000);
}

void TFormConfig::MenuConfigClick(tk::TComponent*) {
  PopupMenu->SetAutoPopup(false);
  Show();
  BtnDone->setFocus();
}

void TFormConfig::MenuQuitClick(tk::TComponent*) {
  tk::Application().Terminate();
}

void TFormConfig::BtnDoneClick() {
  PopupMenu->SetAutoPopup(true);
  Hide();
  ShowAd();
}

void TFormConfig::ShowAd() {
  PopupMenu->SetAutoPopup(false);
  FormAd->Present(true);
}

void TFormConfig::BtnExternalClick() {
  Hide();
  if (formExternal_) formExternal_->Show();
}

void TFormConfig::BtnDLLsClick() {
  Hide();
  if (formDLLs_) formDLLs_->Show();
}

void TFormConfig::ReadSettings(tk::TComponent* sender) {
  catalogue_->ReadSettings(sender);
}

void TFormConfig::PickRandomSound(tk::TComponent* sender) {
  catalogue_->PickRandomSound(sender);
}

void TFormConfig::StopSound(tk::TComponent*) {
  catalogue_->StopSound();
}

}  // namespace app
