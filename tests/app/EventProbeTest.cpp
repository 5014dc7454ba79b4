#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTimer>
#include <chrono>
#include <string>
#include <vector>

#include "ConfigFixture.h"
#include "EventProbe.h"
#include "app/Splash.h"
#include "toolkit/MenuWindow.h"
#include "toolkit/Timer.h"

namespace {

// The lines the end-to-end journeys read: the tray menu and its submenus as they open,
// and the configuration window's timer state as it shows.
class EventProbeTest : public ConfigTest {
 protected:
  // Opens the real tray menu and chooses the entry at the end of `path`.
  void Choose(std::vector<std::string> path) {
    QTimer::singleShot(0, [path] { tk::TMenuWindow::ChoosePath(path); });
    config->PopupMenu->Popup(0, 0);
  }
  std::string TakeLog() {
    const std::string log = folder.Read("events.log");
    folder.Write("events.log", "");
    return log;
  }
};

TEST_F(EventProbeTest, WritesTheMenusAsTheyOpenAndTheTimerAsTheConfigurationShows) {
  Start(true);
  config->FormSplash->Timer->Fire();
  EventProbe probe(folder.File("events.log"));
  tk::SetMenuPresenter(nullptr);

  Choose({"Timer", "5 Minutes"});
  EXPECT_EQ(TakeLog(),
            "popup opened: About|Configuration|Timer|Quit Program|-|External Sounds\n"
            "external sounds: \n"
            "menu shown: (top): columns 6; checked: ; entries: "
            "About|Configuration|Timer|Quit Program|-|External Sounds\n"
            "menu shown: Timer: columns 5; checked: Off; entries: "
            "Off|2 Minutes|5 Minutes|3 to 9 Minutes|Custom\n");

  // A key in the menu, with the wall-clock second it arrived in.
  const auto now = [] {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  };
  const long long before = now();
  QTimer::singleShot(0, [] {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(tk::TMenuWindow::Innermost(), &down);
    tk::TMenuWindow::ChoosePath({"Timer", "5 Minutes"});
  });
  config->PopupMenu->Popup(0, 0);
  const long long after = now();
  std::string log = TakeLog();
  const std::size_t key = log.find("menu key: Down at ");
  ASSERT_NE(key, std::string::npos) << log;
  const long long at = std::stoll(log.substr(key + 18));
  EXPECT_GE(at, before);
  EXPECT_LE(at, after);

  Choose({"Configuration"});
  ASSERT_TRUE(config->Visible());
  log = TakeLog();
  EXPECT_NE(log.find("popup opened: "), std::string::npos) << log;
  EXPECT_NE(log.find("\nconfiguration shown: On checked; selected Five Minutes; field '3'; "
                     "interval 300000\n"),
            std::string::npos)
      << log;

  // Shown again from elsewhere (an editor going back to it): its state once more.
  config->Hide();
  config->Show();
  EXPECT_EQ(TakeLog(),
            "configuration shown: On checked; selected Five Minutes; field '3'; interval 300000\n");
}

}  // namespace
