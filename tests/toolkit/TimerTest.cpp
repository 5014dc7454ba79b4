#include "toolkit/Timer.h"

#include <thread>

#include <gtest/gtest.h>
#include <QEventLoop>

#include "Later.h"
#include "rtl/RuntimeErrors.h"
#include "support/ScriptedDialogs.h"

namespace tk {
namespace {

using namespace std::chrono_literals;

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureToolkitApp(); }
};

TEST_F(TimerTest, OnlyADifferentIntervalRestartsTheCountdown) {
  TTimer timer(nullptr);
  EXPECT_FALSE(timer.Running());  // a new timer waits for its interval
  timer.SetInterval(120000);
  EXPECT_EQ(timer.Restarts(), 1);
  std::this_thread::sleep_for(60ms);
  const int before = timer.RemainingTime();
  EXPECT_LE(before, 120000 - 50);

  timer.SetInterval(120000);
  EXPECT_EQ(timer.Restarts(), 1);
  EXPECT_LE(timer.RemainingTime(), before);

  timer.SetInterval(300000);
  EXPECT_EQ(timer.Restarts(), 2);
  EXPECT_GT(timer.RemainingTime(), 300000 - 50);

  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(timer.RemainingTime(), -1);
  timer.SetInterval(0);
  EXPECT_EQ(timer.Restarts(), 2);
}

TEST_F(TimerTest, ADisabledTimerKeepsItsIntervalAndRestartsWhenEnabled) {
  TTimer timer(nullptr);
  timer.SetEnabled(false);
  timer.SetInterval(60000);
  EXPECT_FALSE(timer.Running());
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Running());
  EXPECT_EQ(timer.Interval(), 60000);
}

TEST_F(TimerTest, ExpiriesRunTheHandlerAgainAndAgainAndErrorsAreShown) {
  ScriptedDialogs dialogs;
  TTimer timer(nullptr);
  int expiries = 0;
  QEventLoop loop;
  timer.OnTimer = [&](TComponent* sender) {
    EXPECT_EQ(sender, &timer);
    if (++expiries == 3) loop.quit();
    throw rtl::Exception("no sound");
  };
  timer.SetInterval(5);
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(expiries, 3);
  EXPECT_EQ(dialogs.Texts(ScriptedDialogs::Kind::Error).size(), 3u);
  EXPECT_TRUE(timer.Running());
}

}  // namespace
}  // namespace tk
