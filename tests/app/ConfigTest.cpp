#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QWidget>
#include <QWindow>
#include <string>
#include <vector>

#include "ConfigFixture.h"
#include "app/Ad.h"
#include "app/ClickableImage.h"
#include "app/Splash.h"
#include "sounds/Catalogue.h"
#include "sounds/SoundMenuPaths.h"
#include "timer/TimerEdit.h"
#include "toolkit/Timer.h"

namespace {

// What Alt+F4 or the window manager's close request does to a shown window.
void CloseFromWindowManager(tk::TForm& form) {
  QCloseEvent request;
  QCoreApplication::sendEvent(form.Widget()->windowHandle(), &request);
}

TEST_F(ConfigTest, FirstStartCreatesTheSettingsAndTheMenuOpensOnlyAfterTheSplash) {
  Start(true);
  EXPECT_EQ(folder.Read("BSUs.ini"), "[Settings]\r\nNumberOfBSUs=0\r\n\r\n");
  EXPECT_TRUE(folder.Exists("External.ini"));
  EXPECT_TRUE(folder.Exists("JBW.ini"));
  EXPECT_TRUE(config->FormSplash->Visible());
  EXPECT_EQ(config->FormSplash->Timer->Interval(), 5000);
  EXPECT_FALSE(AutoPopup());
  RightPress();
  EXPECT_EQ(popups, 0);

  config->FormSplash->Timer->Fire();  // not due: the menu works at once
  EXPECT_FALSE(config->FormSplash->Visible());
  EXPECT_EQ(config->FormSplash->Timer->Interval(), 0);
  EXPECT_FALSE(config->FormAd->Visible());
  EXPECT_TRUE(AutoPopup());
  RightPress();
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(dialogs.calls.empty());
}

// The two pictures come from the build; a window shows its own only while on the screen.
void ExpectPictureShown(const app::TPictureWindow& window, bool shown) {
  const QPixmap picture = window.Image->pixmap();
  if (!shown) {
    EXPECT_TRUE(picture.isNull());
    return;
  }
  ASSERT_EQ(picture.size(), QSize(300, 300));
  const QImage image = picture.toImage();
  EXPECT_NE(image.pixel(150, 290), image.pixel(150, 10));
}

TEST_F(ConfigTest, AnAdvertDueFollowsTheSplashAndKeepsTheMenuShutUntilItCloses) {
  Start(false);
  ExpectPictureShown(*config->FormSplash, true);
  config->FormSplash->ImageClick();
  ExpectPictureShown(*config->FormSplash, false);
  ExpectPictureShown(*config->FormAd, true);
  EXPECT_TRUE(config->FormAd->Visible());
  EXPECT_EQ(config->FormAd->Timer->Interval(), 5000);
  EXPECT_FALSE(AutoPopup());
  config->FormAd->ImageClick();
  EXPECT_FALSE(config->FormAd->Visible());
  ExpectPictureShown(*config->FormAd, false);
  EXPECT_EQ(config->FormAd->Timer->Interval(), 0);
  EXPECT_TRUE(AutoPopup());
}

TEST_F(ConfigTest, AboutConfigurationAndDoneSwitchTheMenuAsTheWindowsComeAndGo) {
  Start(true);
  config->FormSplash->Timer->Fire();

  config->MenuAboutClick(nullptr);
  EXPECT_FALSE(AutoPopup());
  EXPECT_TRUE(config->FormSplash->Visible());
  EXPECT_EQ(config->FormSplash->Timer->Interval(), 8000);
  config->FormSplash->TimerTimer();
  EXPECT_TRUE(AutoPopup());

  config->MenuConfigClick(nullptr);
  EXPECT_FALSE(AutoPopup());
  EXPECT_TRUE(config->Visible());
  RightPress();
  EXPECT_EQ(popups, 0);

  // "Done" shows the advert even though the product is installed.
  config->BtnDoneClick();
  EXPECT_FALSE(config->Visible());
  EXPECT_TRUE(config->FormAd->Visible());
  EXPECT_FALSE(AutoPopup());
  config->FormAd->TimerTimer();
  EXPECT_TRUE(AutoPopup());
}

TEST_F(ConfigTest, WindowsStayUpWhenTheWindowManagerClosesThemSoTheMenuComesBack) {
  Start(false);
  CloseFromWindowManager(*config->FormSplash);
  EXPECT_TRUE(config->FormSplash->Visible());
  config->FormSplash->ImageClick();
  CloseFromWindowManager(*config->FormAd);
  EXPECT_TRUE(config->FormAd->Visible());
  config->FormAd->ImageClick();

  config->MenuConfigClick(nullptr);
  CloseFromWindowManager(*config);
  EXPECT_TRUE(config->Visible());
  config->BtnDoneClick();
  config->FormAd->TimerTimer();
  RightPress();
  EXPECT_EQ(popups, 1);
}

TEST_F(ConfigTest, TheConfigurationWindowIsAToolWindowWithoutTitleBarButtons) {
  Start(true);
  const Qt::WindowFlags flags = config->Widget()->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::Tool));
  EXPECT_FALSE(
      flags & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint));
}

TEST_F(ConfigTest, ASettingsErrorAtStartIsShownAndTheProgramRunsOn) {
  folder.Write("External.ini", "[Settings]\r\nNumberOfSounds=abc\r\n");
  Start(true);
  ASSERT_EQ(dialogs.Texts(tk::ScriptedDialogs::Kind::Error).size(), 1u);
  EXPECT_EQ(dialogs.Texts(tk::ScriptedDialogs::Kind::Error)[0],
            "'abc' is not a valid integer value");
  EXPECT_TRUE(config->FormSplash->Visible());
  EXPECT_EQ(folder.Read("External.ini"), "[Settings]\r\nNumberOfSounds=abc\r\n");
  // The timer's file comes after the failed step, so it was not created.
  EXPECT_FALSE(folder.Exists("JBW.ini"));
}

// The sounds follow the menu's items, not their places: items added before "External
// Sounds" and after the unit menus leave the sounds where they belong, rebuild after
// rebuild, and calls from outside still find them.
TEST_F(ConfigTest, SoundsKeepTheirMenusWhenTheMenuGainsItems) {
  Start(true);
  tk::TMenuItem* root = config->PopupMenu->Items();
  auto* first = new tk::TMenuItem(config.get());
  first->SetCaption("First");
  root->Insert(0, first);
  auto* last = new tk::TMenuItem(config.get());
  last->SetCaption("Last");
  root->Add(last);
  folder.Write("BSUs.ini", "[Settings]\r\nNumberOfBSUs=1\r\n[BSU-List]\r\n1=" FAKE_UNIT_A3 "\r\n");
  folder.Write("External.ini",
               "[Settings]\r\nNumberOfSounds=1\r\n[Sound-List]\r\n1=/door.wav\r\n"
               "[Sound-Menu]\r\n1=Door\r\n");

  for (int rebuild = 1; rebuild <= 2; ++rebuild) {
    config->ReadSettings(nullptr);
    std::vector<std::string> captions;
    for (int i = 0; i < root->Count(); ++i) captions.push_back(root->Items(i)->Caption());
    EXPECT_EQ(captions,
              (std::vector<std::string>{"First", "About", "Configuration", "Timer", "Quit Program",
                                        "-", "External Sounds", "Unit A", "Last"}))
        << "rebuild " << rebuild;
    EXPECT_EQ(config->MenuTimer->Count(), 5);
    EXPECT_EQ(sounds::SoundMenuPaths(config->Catalogue().SoundMenus()),
              (std::vector<std::string>{"External Sounds/Door", "Unit A/Clip 1", "Unit A/Clip 2",
                                        "Unit A/Clip 3"}));
    ASSERT_EQ(config->MenuExternal->Count(), 1);
    EXPECT_EQ(config->MenuExternal->Items(0)->Tag(), 4);
  }
}

// Start loads no fonts or icons for a window most runs never open; the timer it holds
// works from the tray all the same.
TEST_F(ConfigTest, TheWindowGetsItsControlsWhenFirstShownAndTheyShowTheTimerAsItRan) {
  folder.Write("JBW.ini", "[Settings]\r\nSetTimer=Custom\r\nSetCustom=7\r\n");
  Start(true);
  config->FormSplash->Timer->Fire();
  EXPECT_FALSE(config->Built());
  EXPECT_EQ(config->BtnDone, nullptr);
  EXPECT_EQ(config->TimerControls.CBTimer, nullptr);
  EXPECT_TRUE(config->Widget()->findChildren<QWidget*>().isEmpty());
  EXPECT_EQ(config->Timer->Interval(), 7 * 60000);
  EXPECT_EQ(config->TimerMenu.SubMenuCustom->Caption(), "Custom: 7 Mins");

  config->TimerMenu.SubMenu5Mins->Click();
  EXPECT_EQ(config->Timer->Interval(), 5 * 60000);
  EXPECT_EQ(folder.Read("JBW.ini"), "[Settings]\r\nSetTimer=5Mins\r\nSetCustom=7\r\n\r\n");
  EXPECT_FALSE(config->Built());

  config->MenuConfigClick(nullptr);
  ASSERT_TRUE(config->Built());
  const timer::TTimerControls& c = config->TimerControls;
  EXPECT_TRUE(c.CBTimer->isChecked());
  EXPECT_TRUE(c.RBtn5Mins->isChecked());
  EXPECT_FALSE(c.RBtnCustom->isChecked());
  EXPECT_EQ(c.EditTimer->Text(), "7");

  // From now on the controls drive the timer, and the window keeps them between showings.
  c.RBtnCustom->click();
  EXPECT_EQ(config->Timer->Interval(), 7 * 60000);
  config->BtnDoneClick();
  config->FormAd->TimerTimer();
  config->TimerMenu.SubMenuOff->Click();
  QWidget* done = config->BtnDone;
  config->MenuConfigClick(nullptr);
  EXPECT_EQ(config->BtnDone, done);
  EXPECT_FALSE(c.CBTimer->isChecked());
  EXPECT_TRUE(c.RBtnCustom->isChecked());
}

TEST_F(ConfigTest, TheFirstShowingCentresTheWindowWithDoneFocusedAndTheTabOrderKept) {
  Start(true);
  config->FormSplash->Timer->Fire();
  config->MenuConfigClick(nullptr);
  QWidget* w = config->Widget();
  EXPECT_EQ(w->focusWidget(), config->BtnDone);

  // What the Tab key reaches from Done, round to Done again.
  std::vector<std::string> order;
  for (QWidget* next = config->BtnDone->nextInFocusChain(); next != config->BtnDone;
       next = next->nextInFocusChain()) {
    if (next->focusPolicy() & Qt::TabFocus) order.push_back(next->objectName().toStdString());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"RBtn2Mins", "RBtn5Mins", "CBTimer", "RBtnRandom",
                                             "RBtnCustom", "EditTimer"}));

  // Where a window of its size lands that had its contents before it showed; the frame is
  // not known before the first showing, so the centre may be off by its width.
  tk::TForm plain(nullptr, new QWidget(nullptr, w->windowFlags()));
  plain.SetClientSize(344, 208);
  plain.SetCenterOnShow(true);
  plain.Show();
  EXPECT_EQ(w->frameGeometry(), plain.Widget()->frameGeometry());
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_NEAR(w->frameGeometry().center().x(), area.center().x(), 2);
  EXPECT_NEAR(w->frameGeometry().center().y(), area.center().y(), 2);
}

TEST_F(ConfigTest, TheButtonsOfTheFirstShowingOpenTheEditors) {
  Start(true);
  tk::TForm external(nullptr);
  tk::TForm dlls(nullptr);
  config->SetEditors(&external, &dlls);
  config->MenuConfigClick(nullptr);
  config->BtnExternal->click();
  EXPECT_FALSE(config->Visible());
  EXPECT_TRUE(external.Visible());

  config->MenuConfigClick(nullptr);
  config->BtnDLLs->click();
  EXPECT_FALSE(config->Visible());
  EXPECT_TRUE(dlls.Visible());
}

}  // namespace
