#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include "ConfigFixture.h"
#include "app/Ad.h"
#include "app/ClickableImage.h"
#include "app/Splash.h"
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

}  // namespace
