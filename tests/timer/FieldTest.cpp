#include "TimerFixture.h"

// Fontconfig keeps a cache it never frees; not ours to fix. Built in here because ctest
// passes a test only the first of its environment settings.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

using TimerFieldTest = TimerFixture;

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
