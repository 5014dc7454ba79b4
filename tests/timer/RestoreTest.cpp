#include "TimerFixture.h"
#include "rtl/RuntimeErrors.h"

namespace {

using TimerRestoreTest = TimerFixture;

TEST_F(TimerRestoreTest, MissingFileIsCreatedAndTheControlsStayAsTheyAre) {
  std::filesystem::remove(folder.File(settings::kJbwIni));
  modes->RestoreTimer();
  EXPECT_EQ(Stored(settings::kSetTimer), "Off");
  EXPECT_EQ(Stored(settings::kSetCustom), "3");
  EXPECT_FALSE(c.CBTimer->isChecked());
  EXPECT_EQ(SelectedRadio(), "RBtn2Mins");
  EXPECT_EQ(CheckedItem(), "SubMenuOff");
  EXPECT_EQ(c.EditTimer->Text(), "3");
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom");
}

TEST_F(TimerRestoreTest, StoredZeroMinutesBecomesOne) {
  Store("Off", "0");
  modes->RestoreTimer();
  EXPECT_EQ(c.EditTimer->Text(), "1");
  EXPECT_EQ(Stored(settings::kSetCustom), "1");
  EXPECT_EQ(Stored(settings::kSetTimer), "Off");
  EXPECT_EQ(timer->Interval(), 0);
}

TEST_F(TimerRestoreTest, MinutesOutOfRangeShowThreeAndCustomSavesThem) {
  Store("Custom", "150");
  modes->RestoreTimer();
  EXPECT_EQ(c.EditTimer->Text(), "3");
  EXPECT_EQ(CheckedItem(), "SubMenuCustom");
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom: 3 Mins");
  EXPECT_EQ(timer->Interval(), 180000);
  EXPECT_EQ(Stored(settings::kSetCustom), "3");
}

TEST_F(TimerRestoreTest, StoredMinutesWithOffPassThroughCustom) {
  Store("Off", "10");
  modes->RestoreTimer();
  EXPECT_FALSE(c.CBTimer->isChecked());
  EXPECT_EQ(timer->Interval(), 0);
  EXPECT_EQ(SelectedRadio(), "RBtnCustom");
  EXPECT_EQ(CheckedItem(), "SubMenuOff");
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom: 10 Mins");
  EXPECT_EQ(Stored(settings::kSetTimer), "Off");
  EXPECT_EQ(Stored(settings::kSetCustom), "10");

  // A later "On" starts the custom mode.
  c.CBTimer->click();
  EXPECT_EQ(timer->Interval(), 600000);
}

TEST_F(TimerRestoreTest, CustomWithTheDefaultMinutes) {
  folder.Write(settings::kJbwIni, "[Settings]\r\nSetTimer=Custom\r\n");
  modes->RestoreTimer();
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom: 3 Mins");
  EXPECT_EQ(timer->Interval(), 180000);
  EXPECT_EQ(SelectedRadio(), "RBtnCustom");
  EXPECT_EQ(Stored(settings::kSetCustom), "3");
}

TEST_F(TimerRestoreTest, ModeWordInAnotherCaseAppliesNothing) {
  Store("off", "3");
  c.CBTimer->click();
  writes.Take();
  modes->RestoreTimer();
  EXPECT_TRUE(c.CBTimer->isChecked());
  EXPECT_EQ(timer->Interval(), 120000);
  EXPECT_EQ(writes.Take(), 0);
}

TEST_F(TimerRestoreTest, MinutesThatAreNoNumberRaiseTheConversionError) {
  Store("2Mins", "");
  try {
    modes->RestoreTimer();
    FAIL() << "no error";
  } catch (const rtl::EConvertError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  EXPECT_FALSE(c.CBTimer->isChecked());
}

TEST_F(TimerRestoreTest, RepeatedRestoreKeepsFixedCountdownsAndRedrawsRandom) {
  Store("2Mins", "3");
  modes->RestoreTimer();
  int restarts = timer->Restarts();
  writes.Take();
  modes->RestoreTimer();
  EXPECT_EQ(timer->Restarts(), restarts);
  EXPECT_EQ(writes.Take(), 0);

  Store("Custom", "12");
  modes->RestoreTimer();
  restarts = timer->Restarts();
  modes->RestoreTimer();
  EXPECT_EQ(timer->Restarts(), restarts);

  Store("Random", "12");
  modes->RestoreTimer();
  const int last = modes->LastDrawn();
  restarts = timer->Restarts();
  modes->RestoreTimer();
  EXPECT_EQ(modes->DrawnBefore(), last);
  EXPECT_EQ(timer->Restarts(), restarts + 1);
}

}  // namespace
