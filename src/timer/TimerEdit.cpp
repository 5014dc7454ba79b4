#include "timer/TimerEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTimer>

#include "toolkit/Application.h"

namespace timer {

namespace {

constexpr char kBlank = '_';

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string FieldText(const std::string& text) {
  std::string field;
  for (size_t i = 0; i < 2; ++i) field += i < text.size() && IsDigit(text[i]) ? text[i] : ' ';
  while (!field.empty() && field.back() == ' ') field.pop_back();
  return field;
}

TTimerEdit::TTimerEdit(QWidget* parent) : QLineEdit(parent) {
  setInputMask(QStringLiteral("90;_"));
  // Qt reports some edits that leave the content as it was (a backspace over a blank);
  // Notify filters them out.
  tk::Connect(this, &QLineEdit::textChanged, this, [this](const QString&) { Notify(); });
}

std::string TTimerEdit::Text() const {
  std::string text = displayText().toLocal8Bit().toStdString();
  for (char& c : text) {
    if (c == kBlank) c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

void TTimerEdit::SetText(const std::string& text) {
  const std::string field = FieldText(text);
  const char first = !field.empty() ? field[0] : ' ';
  const char second = field.size() > 1 ? field[1] : ' ';
  {
    const QSignalBlocker blocker(this);
    if (first != ' ') {
      setText(QString(QChar(first)) + (second != ' ' ? QString(QChar(second)) : QString()));
    } else {
      setText(QString());
      if (second != ' ') {
        setCursorPosition(1);
        insert(QString(QChar(second)));
      }
    }
    // As with any programmatic change of an edit control's text, the edit counts as fresh.
    setModified(false);
  }
  Notify();
}

bool TTimerEdit::FirstPositionEmpty() const {
  const QString shown = displayText();
  return shown.isEmpty() || shown.at(0) == QChar(kBlank);
}

bool TTimerEdit::ValidateExit() {
  return !(isModified() && FirstPositionEmpty());
}

void TTimerEdit::Notify() {
  std::string text = Text();
  if (text == last_) return;
  last_ = std::move(text);
  if (OnChange) OnChange();
}

void TTimerEdit::focusInEvent(QFocusEvent* event) {
  // Coming back after a rejected exit keeps the text that Escape returns to.
  if (!reEnter_) textAtEnter_ = Text();
  reEnter_ = false;
  QLineEdit::focusInEvent(event);
}

void TTimerEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Switching to another window or opening a menu is no exit from the field.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
    return;
  if (ValidateExit()) return;
  QApplication::beep();
  // The focus change is still under way; take the focus back once it is done.
  QTimer::singleShot(0, this, [this] {
    reEnter_ = !hasFocus();
    setFocus(Qt::OtherFocusReason);
    tk::Application().HandleException(std::string(kInvalidInput));
  });
}

void TTimerEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && isModified()) {
    SetText(textAtEnter_);
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace timer
