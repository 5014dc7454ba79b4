#include <gtest/gtest.h>

#include <QPixmap>
#include <QSystemTrayIcon>
#include <string>
#include <vector>

#include "ShellRecorder.h"
#include "platform/Icons.h"
#include "platform/Observation.h"
#include "platform/WindowHandles.h"
#include "toolkit/Form.h"
#include "tray/wkTray.h"

using namespace platform;
using tray::TwkTray;

namespace {

// A menu that records where it was asked to open instead of opening.
class RecordingMenu : public tk::TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  void Popup(int x, int y) override { opened.push_back({x, y}); }
  std::vector<POINT> opened;
};

QIcon RedIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::red);
  return QIcon(pixmap);
}

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApp();
    tray::TrayIDCounter = 0;
    form = new tk::TForm(nullptr);
  }
  void TearDown() override { delete form; }

  // Creates a tray as a stored form would: named, tip, then loaded.
  TwkTray* LoadedTray(const std::string& name) {
    auto* t = new TwkTray(form);
    t->BeginLoading();
    t->SetName(name);
    t->EndLoading();
    return t;
  }

  LRESULT Callback(UINT id, UINT mouse) {
    return SendMessageA(form->Handle(), TwkTray::TrayCallbackMessage, id, mouse);
  }

  ShellRecorder shell;
  tk::TForm* form = nullptr;
};

TEST_F(TrayTest, TwoTraysOnOneFormReactOnlyToTheirOwnIdentifier) {
  TwkTray* first = LoadedTray("first");
  TwkTray* second = LoadedTray("second");
  ASSERT_EQ(first->TrayID(), 1u);
  ASSERT_EQ(second->TrayID(), 2u);
  EXPECT_EQ(first->WindowHandle(), form->Handle());
  EXPECT_EQ(shell.Count(NIM_ADD), 2);
  EXPECT_TRUE(FindTrayIcon(form->Handle(), 2).has_value());

  std::vector<std::string> log;
  first->SimpleFunction = [&](tk::TComponent*) { log.push_back("first simple"); };
  second->SimpleFunction = [&](tk::TComponent*) { log.push_back("second simple"); };
  second->DefaultFunction = [&](tk::TComponent*) { log.push_back("second default"); };

  // The form's own procedure answers last, and it knows nothing of the message.
  EXPECT_EQ(Callback(2, WM_LBUTTONDOWN), 0);
  Callback(2, WM_LBUTTONUP);
  Callback(1, WM_LBUTTONDOWN);
  EXPECT_EQ(log, (std::vector<std::string>{"second simple", "first simple"}));

  // The way Qt reports a double click: a press, then the double click.
  log.clear();
  ActivateTrayIcon(form->Handle(), 2, QSystemTrayIcon::Trigger);
  ActivateTrayIcon(form->Handle(), 2, QSystemTrayIcon::DoubleClick);
  EXPECT_EQ(log, (std::vector<std::string>{"second simple", "second default"}));
}

TEST_F(TrayTest, RightPressOpensTheMenuOnlyWhileAutoPopupIsOn) {
  TwkTray* t = LoadedTray("wkTray");
  auto* menu = new RecordingMenu(form);
  t->SetPopupMenu(menu);
  int shown = 0;
  t->ShowMenu = [&](tk::TComponent* sender) {
    EXPECT_EQ(sender, t);
    ++shown;
  };

  menu->SetAutoPopup(false);
  ActivateTrayIcon(form->Handle(), t->TrayID(), QSystemTrayIcon::Context);
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(menu->opened.empty());

  menu->SetAutoPopup(true);
  Callback(t->TrayID(), WM_RBUTTONDOWN);
  EXPECT_EQ(shown, 2);
  ASSERT_EQ(menu->opened.size(), 1u);
  EXPECT_EQ(menu->PopupComponent(), t);

  delete menu;  // the tray lets go of a destroyed menu
  EXPECT_EQ(t->PopupMenu(), nullptr);
  Callback(t->TrayID(), WM_RBUTTONDOWN);
  EXPECT_EQ(shown, 3);
}

TEST_F(TrayTest, TipIsCutFollowsTheNameUntilSetAndAnEmptyTipClearsTheFlag) {
  TwkTray* t = LoadedTray("wkTray");
  EXPECT_EQ(t->Tip(), "wkTray");
  t->SetName("renamed");
  EXPECT_EQ(t->Tip(), "renamed");
  EXPECT_EQ(FindTrayIcon(form->Handle(), t->TrayID())->tip, "renamed");

  const std::string exact(63, 'x');
  t->SetTip(exact);
  EXPECT_EQ(t->Tip(), exact);
  t->SetTip(std::string(62, 'y') + "z+overflow");
  EXPECT_EQ(t->Tip(), std::string(62, 'y') + "z");
  EXPECT_EQ(shell.Last().message, NIM_MODIFY);
  EXPECT_EQ(shell.Last().data.uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);

  t->SetName("again");
  EXPECT_EQ(t->Tip(), std::string(62, 'y') + "z");

  t->SetTip("");
  EXPECT_EQ(shell.Last().data.uFlags, NIF_MESSAGE | NIF_ICON);
  EXPECT_EQ(FindTrayIcon(form->Handle(), t->TrayID())->tip, "");
}

TEST_F(TrayTest, ActiveNeedsAnIconAndComesBackWithTheSameIdentifier) {
  auto* t = new TwkTray(form);
  t->BeginLoading();
  t->SetIconResources({});
  t->EndLoading();
  EXPECT_EQ(shell.Count(NIM_ADD), 0);
  EXPECT_FALSE(t->Active());
  const UINT id = t->TrayID();

  t->SetIcon(RedIcon());  // not active, so nothing is modified
  EXPECT_EQ(shell.Count(NIM_MODIFY), 0);
  t->SetActive(true);
  EXPECT_EQ(shell.Count(NIM_ADD), 1);
  EXPECT_TRUE(t->Active());

  t->SetActive(false);
  EXPECT_EQ(shell.Last().message, NIM_DELETE);
  EXPECT_FALSE(FindTrayIcon(form->Handle(), id).has_value());
  t->SetActive(true);
  EXPECT_EQ(shell.Last().message, NIM_ADD);
  EXPECT_EQ(shell.Last().data.uID, id);
  EXPECT_EQ(shell.Last().data.cbSize, 88u);
  EXPECT_EQ(shell.Last().data.uCallbackMessage, 10124u);

  delete t;
  EXPECT_EQ(shell.Last().message, NIM_DELETE);
  EXPECT_FALSE(FindTrayIcon(form->Handle(), id).has_value());
}

TEST_F(TrayTest, CurrentIconPrefersThePictureThenTheNamedResource) {
  const HICON mainIcon = LoadIconA(0, "MAINICON");
  ASSERT_NE(mainIcon, 0u);
  TwkTray unshown(form);
  EXPECT_EQ(unshown.CurrentIconHandle(), mainIcon);
  unshown.SetIconIndex(1);
  EXPECT_EQ(unshown.CurrentIconHandle(), 0u);
  unshown.SetIconIndex(-1);
  EXPECT_EQ(unshown.CurrentIconHandle(), 0u);
  unshown.SetIconIndex(0);
  unshown.IconResources()->Put(0, "mainicon");
  EXPECT_EQ(unshown.CurrentIconHandle(), mainIcon);
  unshown.IconResources()->Put(0, "NOSUCHICON");
  EXPECT_EQ(unshown.CurrentIconHandle(), 0u);

  TwkTray* t = LoadedTray("wkTray");
  EXPECT_EQ(shell.Last().data.hIcon, mainIcon);
  t->SetIcon(RedIcon());
  const HICON picture = t->Icon()->Handle();
  EXPECT_NE(picture, 0u);
  EXPECT_EQ(t->CurrentIconHandle(), picture);
  EXPECT_EQ(FindTrayIcon(form->Handle(), t->TrayID())->icon, picture);

  const size_t calls = shell.calls.size();
  t->SetIconIndex(1);  // the picture wins, so nothing changes
  EXPECT_EQ(shell.calls.size(), calls);
  t->Icon()->Clear();  // now the index decides: no icon
  EXPECT_EQ(FindTrayIcon(form->Handle(), t->TrayID())->icon, 0u);
  EXPECT_FALSE(t->Active());
}

TEST_F(TrayTest, FindOwnerFormWalksTheOwnerChain) {
  auto* middle = new tk::TComponent(form);
  auto* t = new TwkTray(middle);
  EXPECT_EQ(t->OwnerForm(), form);
  EXPECT_EQ(TwkTray::FindOwnerForm(form), form);
  EXPECT_EQ(TwkTray::FindOwnerForm(nullptr), nullptr);

  TwkTray orphan(nullptr);
  orphan.AddIcon();  // no form, so no window and nothing added
  EXPECT_EQ(orphan.WindowHandle(), 0u);
  EXPECT_EQ(shell.Count(NIM_ADD), 0);
}

}  // namespace
