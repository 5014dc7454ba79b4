#include "TimerFixture.h"

namespace {

using TimerFieldTest = TimerFixture;

TEST_F(TimerFieldTest, ControlsAndMenuStartAsDesigned) {
  EXPECT_EQ(c.CBTimer->objectName(), "CBTimer");
  EXPECT_EQ(c.CBTimer->text(), "On");
  EXPECT_EQ(c.CBTimer->geometry(), QRect(192, 120, 49, 17));
  EXPECT_EQ(c.RBtnRandom->text(), "Random 3-9 Minutes");
  EXPECT_EQ(c.RBtnCustom->toolTip(), "Set Your Own Custom Time (between 1 and 99 Minutes");
  EXPECT_EQ(c.EditTimer->geometry(), QRect(184, 168, 25, 21));
  EXPECT_TRUE(c.Lable1->font().underline());
  EXPECT_EQ(c.Label4->text(), "Mins.");
  EXPECT_FALSE(c.CBTimer->isChecked());
  EXPECT_EQ(SelectedRadio(), "RBtn2Mins");
  EXPECT_EQ(c.EditTimer->Text(), "3");
  EXPECT_EQ(c.EditTimer->displayText(), "3_");

  ASSERT_EQ(menuTimer->Count(), 5);
  const char* captions[] = {"Off", "2 Minutes", "5 Minutes", "3 to 9 Minutes", "Custom"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(menuTimer->Items(i)->Caption(), captions[i]);
    EXPECT_TRUE(menuTimer->Items(i)->RadioItem());
  }
  EXPECT_EQ(CheckedItem(), "SubMenuOff");
  EXPECT_EQ(timer->Interval(), 0);
}

TEST_F(TimerFieldTest, TypingOneThenFiveOverThree) {
  c.EditTimer->setCursorPosition(0);
  Type('1');
  EXPECT_EQ(c.EditTimer->Text(), "1");
  EXPECT_EQ(timer->Interval(), 60000);
  EXPECT_EQ(Stored(settings::kSetCustom), "1");
  // Off before: "On" saved the old two-minute selection first.
  EXPECT_EQ(writes.Take(), 2);

  Type('5');
  EXPECT_EQ(c.EditTimer->Text(), "15");
  EXPECT_EQ(timer->Interval(), 900000);
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom: 15 Mins");
  EXPECT_EQ(CheckedItem(), "SubMenuCustom");
  EXPECT_EQ(Stored(settings::kSetTimer), "Custom");
  EXPECT_EQ(Stored(settings::kSetCustom), "15");
  EXPECT_EQ(writes.Take(), 1);
}

TEST_F(TimerFieldTest, ZeroBecomesOne) {
  c.EditTimer->selectAll();
  Type('0');
  EXPECT_EQ(c.EditTimer->Text(), "1");
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom: 1 Mins");
  EXPECT_EQ(timer->Interval(), 60000);
  EXPECT_EQ(Stored(settings::kSetCustom), "1");

  c.EditTimer->SetText("00");
  EXPECT_EQ(c.EditTimer->Text(), "1");
}

TEST_F(TimerFieldTest, LeadingBlankStaysAndEmptyFieldChangesNothing) {
  c.EditTimer->SetText("15");
  c.EditTimer->setCursorPosition(0);
  Key(Qt::Key_Delete);
  EXPECT_EQ(c.EditTimer->Text(), " 5");
  EXPECT_EQ(timer->Interval(), 300000);
  EXPECT_EQ(m.SubMenuCustom->Caption(), "Custom:  5 Mins");
  writes.Take();

  // A backspace over the blank first position leaves the text as it is.
  c.EditTimer->setCursorPosition(1);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(writes.Take(), 0);

  c.EditTimer->selectAll();
  Key(Qt::Key_Delete);
  EXPECT_EQ(c.EditTimer->Text(), "");
  EXPECT_EQ(timer->Interval(), 300000);
  EXPECT_EQ(writes.Take(), 0);
}

TEST_F(TimerFieldTest, SetTextKeepsDigitsInTheirPositions) {
  c.EditTimer->SetText(" 7");
  EXPECT_EQ(c.EditTimer->Text(), " 7");
  EXPECT_EQ(c.EditTimer->displayText(), "_7");
  c.EditTimer->SetText("x9");
  EXPECT_EQ(c.EditTimer->Text(), " 9");
  c.EditTimer->SetText("42");
  EXPECT_EQ(c.EditTimer->Text(), "42");
}

TEST_F(TimerFieldTest, LeavingWithFirstPositionEmptyIsRejectedAndEscapeRestores) {
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  c.EditTimer->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  ASSERT_TRUE(c.EditTimer->hasFocus());

  c.EditTimer->setCursorPosition(0);
  Key(Qt::Key_Delete);
  ASSERT_TRUE(c.EditTimer->isModified());
  c.CBTimer->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_TRUE(c.EditTimer->hasFocus());
  ASSERT_EQ(dialogs.Texts(tk::ScriptedDialogs::Kind::Error),
            std::vector<std::string>{timer::TTimerEdit::kInvalidInput});

  Key(Qt::Key_Escape);
  EXPECT_EQ(c.EditTimer->Text(), "3");
  c.CBTimer->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_TRUE(c.CBTimer->hasFocus());
  EXPECT_EQ(dialogs.calls.size(), 1u);
}

}  // namespace
