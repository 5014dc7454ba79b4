#include <set>
#include <vector>

#include "TimerFixture.h"
#include "rtl/RuntimeErrors.h"

namespace {

using TimerModesTest = TimerFixture;

TEST_F(TimerModesTest, OnStartsTheSelectedModeAndOffStopsIt) {
  c.CBTimer->click();
  EXPECT_EQ(CheckedItem(), "SubMenu2Mins");
  EXPECT_EQ(timer->Interval(), 120000);
  EXPECT_TRUE(timer->Running());
  EXPECT_EQ(Stored(settings::kSetTimer), "2Mins");
  EXPECT_EQ(writes.Take(), 1);  // the save after the mode's own one finds nothing new

  c.CBTimer->click();
  EXPECT_EQ(CheckedItem(), "SubMenuOff");
  EXPECT_EQ(timer->Interval(), 0);
  EXPECT_FALSE(timer->Running());
  EXPECT_EQ(SelectedRadio(), "RBtn2Mins");
  EXPECT_EQ(Stored(settings::kSetTimer), "Off");
  EXPECT_EQ(Stored(settings::kSetCustom), "3");
  EXPECT_EQ(writes.Take(), 1);
}

TEST_F(TimerModesTest, RadioButtonStartsItsModeAndTheSelectedOneDoesNothing) {
  c.RBtn2Mins->click();  // already selected, timer off
  EXPECT_FALSE(c.CBTimer->isChecked());
  EXPECT_EQ(writes.Take(), 0);

  c.RBtn5Mins->click();
  EXPECT_TRUE(c.CBTimer->isChecked());
  EXPECT_EQ(CheckedItem(), "SubMenu5Mins");
  EXPECT_EQ(timer->Interval(), 300000);
  EXPECT_EQ(Stored(settings::kSetTimer), "5Mins");
  EXPECT_EQ(writes.Take(), 1);

  const int restarts = timer->Restarts();
  c.RBtn5Mins->click();
  EXPECT_EQ(timer->Restarts(), restarts);
  EXPECT_EQ(writes.Take(), 0);
}

TEST_F(TimerModesTest, TrayItemsSetModesThroughTheControls) {
  m.SubMenu5Mins->Click();
  EXPECT_TRUE(c.CBTimer->isChecked());
  EXPECT_EQ(SelectedRadio(), "RBtn5Mins");
  EXPECT_EQ(CheckedItem(), "SubMenu5Mins");
  EXPECT_EQ(timer->Interval(), 300000);
  // "On" first started the old selection's two minutes and saved it.
  EXPECT_EQ(writes.Take(), 2);
  EXPECT_EQ(Stored(settings::kSetTimer), "5Mins");

  m.SubMenuOff->Click();
  EXPECT_FALSE(c.CBTimer->isChecked());
  EXPECT_EQ(CheckedItem(), "SubMenuOff");
  EXPECT_EQ(timer->Interval(), 0);
  EXPECT_EQ(writes.Take(), 1);

  m.SubMenuOff->Click();  // already off: saved again, the file stays as it is
  EXPECT_EQ(writes.Take(), 0);
  EXPECT_EQ(Stored(settings::kSetTimer), "Off");
}

TEST_F(TimerModesTest, ChoosingTheRunningTwoMinutesKeepsTheCountdown) {
  m.SubMenu2Mins->Click();
  writes.Take();
  const int restarts = timer->Restarts();
  m.SubMenu2Mins->Click();
  EXPECT_EQ(timer->Restarts(), restarts);
  EXPECT_EQ(timer->Interval(), 120000);
  EXPECT_EQ(writes.Take(), 0);
}

TEST_F(TimerModesTest, RandomChosenWhileOffDrawsTwice) {
  m.SubMenuRandom->Click();
  EXPECT_NE(modes->DrawnBefore(), 0);
  EXPECT_NE(modes->LastDrawn(), modes->DrawnBefore());
  EXPECT_EQ(timer->Interval(), modes->LastDrawn() * 60000);
  EXPECT_EQ(CheckedItem(), "SubMenuRandom");
  EXPECT_EQ(Stored(settings::kSetTimer), "Random");
}

TEST_F(TimerModesTest, RandomRadioWhileOffDrawsTwice) {
  c.RBtnRandom->click();
  EXPECT_NE(modes->DrawnBefore(), 0);
  EXPECT_EQ(writes.Take(), 1);
}

TEST_F(TimerModesTest, RandomFromTheTrayWhileAnotherModeRunsDrawsTwice) {
  c.CBTimer->click();
  ASSERT_EQ(modes->LastDrawn(), 0);
  m.SubMenuRandom->Click();
  EXPECT_NE(modes->DrawnBefore(), 0);
  EXPECT_EQ(timer->Interval(), modes->LastDrawn() * 60000);

  // Chosen again while it runs: one new draw, and the countdown restarts with it.
  const int last = modes->LastDrawn();
  const int restarts = timer->Restarts();
  m.SubMenuRandom->Click();
  EXPECT_EQ(modes->DrawnBefore(), last);
  EXPECT_EQ(timer->Restarts(), restarts + 1);
}

TEST_F(TimerModesTest, RandomExpiriesNeverRepeatTheLastTwoAndReachAllValues) {
  c.RBtnRandom->click();
  std::vector<int> drawn{modes->DrawnBefore(), modes->LastDrawn()};
  for (int i = 0; i < 500; ++i) {
    timer->Fire();
    drawn.push_back(modes->LastDrawn());
    ASSERT_EQ(timer->Interval(), modes->LastDrawn() * 60000);
  }
  EXPECT_EQ(plays, 500);
  for (size_t i = 2; i < drawn.size(); ++i) {
    ASSERT_NE(drawn[i], drawn[i - 1]);
    ASSERT_NE(drawn[i], drawn[i - 2]);
  }
  EXPECT_EQ(std::set<int>(drawn.begin(), drawn.end()), (std::set<int>{3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(TimerModesTest, TrayCustomActsAsAChangeOfTheField) {
  m.SubMenuCustom->Click();
  EXPECT_EQ(SelectedRadio(), "RBtnCustom");
  EXPECT_EQ(CheckedItem(), "SubMenuCustom");
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom: 3 Mins");
  EXPECT_EQ(timer->Interval(), 180000);
  EXPECT_EQ(Stored(settings::kSetTimer), "Custom");

  // The caption keeps the minutes when another mode follows.
  m.SubMenu2Mins->Click();
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom: 3 Mins");
}

TEST_F(TimerModesTest, BlankFieldLeavesTheRunningModeAlone) {
  m.SubMenu5Mins->Click();
  c.EditTimer->SetText("");
  writes.Take();

  m.SubMenuCustom->Click();
  c.RBtnCustom->click();
  EXPECT_EQ(SelectedRadio(), "RBtnCustom");
  EXPECT_EQ(CheckedItem(), "SubMenu5Mins");
  EXPECT_EQ(timer->Interval(), 300000);
  EXPECT_EQ(writes.Take(), 0);
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom");
}

// "On" with a blank custom field saves the custom mode but never an empty minute count,
// which would break every later restore.
TEST_F(TimerModesTest, OnWithBlankCustomFieldKeepsTheStoredMinutes) {
  Store("Off", "7");
  modes->RestoreTimer();  // field "7": passes through custom, then off
  m.SubMenuOff->Click();
  c.EditTimer->SetText("");
  ASSERT_EQ(SelectedRadio(), "RBtnCustom");

  c.CBTimer->click();
  EXPECT_EQ(timer->Interval(), 0);
  EXPECT_EQ(CheckedItem(), "SubMenuOff");
  EXPECT_EQ(Stored(settings::kSetTimer), "Custom");
  EXPECT_EQ(Stored(settings::kSetCustom), "7");

  EXPECT_NO_THROW(modes->RestoreTimer());
  EXPECT_EQ(timer->Interval(), 7 * 60000);
  EXPECT_EQ(CheckedItem(), "SubMenuCustom");
}

TEST_F(TimerModesTest, FailedSaveInANestedRunEndsTheOuterHandler) {
  state.appFolder = folder.Path() + "missing/";
  // Tray "5 Minutes" while off: "On" first runs two minutes, whose save fails.
  EXPECT_THROW(m.SubMenu5Mins->Click(), rtl::EInOutError);
  EXPECT_EQ(SelectedRadio(), "RBtn2Mins");
  EXPECT_EQ(timer->Interval(), 120000);

  // A user's change reports the failure once and the program runs on.
  c.RBtn5Mins->click();
  EXPECT_EQ(dialogs.Texts(tk::ScriptedDialogs::Kind::Error).size(), 1u);
  EXPECT_EQ(timer->Interval(), 300000);
}

// The sound pick runs inside the expiry; a control it changes runs that control's
// handler nested there, and the handler's error ends the expiry too.
TEST_F(TimerModesTest, FailedSaveCausedByTheSoundPickEndsTheExpiry) {
  c.RBtnRandom->click();
  state.appFolder = folder.Path() + "missing/";
  onPick = [this] { c.CBTimer->setChecked(false); };
  timer->Fire();
  EXPECT_EQ(CheckedItem(), "SubMenuOff");
  EXPECT_EQ(timer->Interval(), 0);  // no draw after "Off"
  EXPECT_EQ(dialogs.Texts(tk::ScriptedDialogs::Kind::Error).size(), 1u);
}

}  // namespace
