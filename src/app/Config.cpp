#include "app/Config.h"

#include <string>

#include <QCheckBox>
#include <QFrame>
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
#include "app/EventLog.h"
#include "app/Splash.h"
#include "editors/EditorControls.h"
#include "platform/Icons.h"
#include "platform/Registry.h"
#include "platform/linux/QtBridge.h"
#include "rtl/Random.h"
#include "sounds/Catalogue.h"
#include "timer/TimerEdit.h"
#include "timer/TimerModes.h"
#include "toolkit/Application.h"
#include "toolkit/MenuLayout.h"
#include "toolkit/MenuWindow.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "tray/wkTray.h"

namespace app {

namespace {

// For the test log: a shown menu's entries per column, checked entries and captions.
std::string DescribeMenuWindow(const tk::TMenuWindow& window) {
  const tk::TMenuLayout& layout = window.Layout();
  std::string columns;
  for (int c = 0; c < layout.Columns(); ++c) {
    columns += (c ? "," : "") + std::to_string(layout.ColumnSize(c));
  }
  std::string checked, entries;
  for (const tk::TMenuLayout::Cell& cell : layout.cells) {
    if (cell.item->Checked()) checked += (checked.empty() ? "" : "|") + cell.item->Caption();
    entries += (entries.empty() ? "" : "|") + cell.item->Caption();
  }
  const std::string& caption = window.Menu()->Caption();
  return "menu shown: " + (caption.empty() ? std::string("(top)") : caption) + ": columns " +
         columns + "; checked: " + checked + "; entries: " + entries;
}

QFrame* NewBevel(QWidget* parent, const char* name, QRect bounds, bool raised) {
  auto* bevel = new QFrame(parent);
  bevel->setObjectName(name);
  bevel->setFrameStyle(QFrame::Box | (raised ? QFrame::Raised : QFrame::Sunken));
  bevel->setGeometry(bounds);
  bevel->lower();
  return bevel;
}

QToolButton* NewSpeedButton(QWidget* parent, const char* name, QRect bounds, const char* hint,
                            const QPixmap& normal, const QPixmap& disabled) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setGeometry(bounds);
  button->setToolTip(hint);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoRaise(false);
  QIcon glyph(normal);
  glyph.addPixmap(disabled, QIcon::Disabled);
  button->setIcon(glyph);
  button->setIconSize(QSize(21, 21));
  return button;
}

QLabel* NewLabel(QWidget* parent, const char* name, QPoint at, const char* text, int points) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont font = label->font();
  font.setPointSize(points);
  label->setFont(font);
  label->move(at);
  label->adjustSize();
  return label;
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
  CreateControls();
  CreatePopupMenu();
  Timer = new tk::TTimer(this);
  Timer->SetName("Timer");
  CreateTray();
  SetMessageHandler(tray::TwkTray::TrayCallbackMessage,
                    [this](tk::TMessage& message) { wkTrayCallback(message); });
  EndLoading();

  catalogue_ = std::make_unique<sounds::TCatalogue>(state_, this, *PopupMenu);
  timerModes_ = std::make_unique<timer::TTimerModes>(TimerControls, TimerMenu, *Timer, state_,
                                                     [this] { PickRandomSound(this); });
  catalogue_->SetRestoreTimer([this] { timerModes_->RestoreTimer(); });

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
  SetCaption("Jabberwell v3 - Configuration");
  SetClientSize(344, 208);
  SetCenterOnShow(true);
  QWidget* w = Widget();
  editors::SetFormFont(w);

  Bevel1 = NewBevel(w, "Bevel1", QRect(8, 8, 241, 97), false);
  BtnExternal = NewSpeedButton(w, "BtnExternal", QRect(16, 20, 25, 25),
                               "Add/Remove External Wavs to Play List", DrawWavGlyph(true),
                               DrawWavGlyph(false));
  Label1 = NewLabel(w, "Label1", QPoint(48, 24), "Register External Sounds", 10);
  BtnDLLs = NewSpeedButton(w, "BtnDLLs", QRect(16, 64, 25, 25), "Add/Remove DLLs to Play List",
                           DrawUnitGlyph(true), DrawUnitGlyph(false));
  Label2 = NewLabel(w, "Label2", QPoint(48, 68), "Register Brakken Sound Units", 10);

  Bevel2 = NewBevel(w, "Bevel2", QRect(8, 112, 241, 89), false);
  TimerControls = timer::CreateTimerControls(w);

  Bevel3 = NewBevel(w, "Bevel3", QRect(256, 8, 81, 193), true);
  BtnDone = new QPushButton("Done", w);
  BtnDone->setObjectName("BtnDone");
  BtnDone->setGeometry(264, 16, 65, 25);
  BtnDone->setToolTip("Close the Configuration Window");
  BtnDone->setIcon(w->style()->standardIcon(QStyle::SP_DialogOkButton));
  BtnDone->setDefault(true);
  Image = new ClickableImage(w);
  Image->setObjectName("Image");
  Image->setGeometry(262, 52, 69, 59);
  Image->setAlignment(Qt::AlignCenter);
  Image->setPixmap(DrawConfigPicture());
  const char* credits[] = {"Jabberwell v3", "Tray sound board", "\u00a9 2026", "Jabberwell team"};
  for (int i = 0; i < 4; ++i) {
    auto* line = new QLabel(QString::fromUtf8(credits[i]), w);
    line->setObjectName(QString("Credit%1").arg(i + 1));
    line->setAlignment(Qt::AlignHCenter);
    QFont font = line->font();
    font.setPointSize(7);
    line->setFont(font);
    line->setGeometry(258, 124 + i * 16, 77, 15);
  }

  QWidget::setTabOrder(BtnDone, TimerControls.RBtn2Mins);

  tk::Connect(BtnDone, &QPushButton::clicked, w, [this] { BtnDoneClick(); });
  tk::Connect(BtnExternal, &QToolButton::clicked, w, [this] { BtnExternalClick(); });
  tk::Connect(BtnDLLs, &QToolButton::clicked, w, [this] { BtnDLLsClick(); });
  tk::Connect(Image, &ClickableImage::doubleClicked, w, [this] { PickRandomSound(this); });
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
  if (EventLogEnabled()) {
    tk::TMenuWindow::SetShowObserver(
        [](const tk::TMenuWindow& window) { LogEvent(DescribeMenuWindow(window)); });
    PopupMenu->OnPopup = [this](tk::TComponent*) {
      std::string captions;
      for (int i = 0; i < PopupMenu->Items()->Count(); ++i) {
        captions += (i ? "|" : "") + PopupMenu->Items()->Items(i)->Caption();
      }
      LogEvent("popup opened: " + captions);
      std::string external;
      for (int i = 0; i < MenuExternal->Count(); ++i) {
        external += (i ? "|" : "") + MenuExternal->Items(i)->Caption();
      }
      LogEvent("external sounds: " + external);
    };
  }
}

void TFormConfig::CreateTray() {
  wkTray = new tray::TwkTray(this);
  wkTray->SetName("wkTray");
  wkTray->SetIcon(platform::IconFromHandle(platform::LoadIconA(0, "MAINICON")));
  wkTray->SetIconResources({"MAINICON"});
  wkTray->SetIconIndex(0);
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
  state_.unitSlotLimit = 3;
  state_.externalSlotLimit = 10;
  PopupMenu->SetAutoPopup(false);
  const std::string brakken = platform::ReadRegistryString(platform::HKEY_LOCAL_MACHINE,
                                                           "\\Software\\Grindlewood", "Brakken");
  state_.advertDue = brakken != "Installed";

  FormSplash = new TFormSplash(this, state_.advertDue, FormAd, *PopupMenu);
  FormAd = new TFormAd(this, *PopupMenu);
  FormSplash->Show();
  FormSplash->Repaint();
  FormSplash->Timer->SetInterval(5000);

  state_.appFolder = ApplicationFolder();
  {
    std::lock_guard lock(state_.listsMutex);
    state_.soundList = {settings::kPlaceholder};
    state_.unitList = {settings::kPlaceholder};
  }
  state_.recentPicks = {settings::kPlaceholder};

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
  if (EventLogEnabled()) {
    const timer::TTimerControls& t = TimerControls;
    const char* selected = t.RBtn2Mins->isChecked()    ? "Two Minutes"
                           : t.RBtn5Mins->isChecked()  ? "Five Minutes"
                           : t.RBtnRandom->isChecked() ? "Random"
                           : t.RBtnCustom->isChecked() ? "Custom"
                                                       : "none";
    LogEvent(std::string("configuration shown: On ") +
             (t.CBTimer->isChecked() ? "checked" : "unchecked") + "; selected " + selected +
             "; field '" + t.EditTimer->Text() + "'; interval " +
             std::to_string(Timer->Interval()));
  }
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
  FormAd->Show();
  FormAd->Repaint();
  FormAd->Timer->SetInterval(5000);
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
