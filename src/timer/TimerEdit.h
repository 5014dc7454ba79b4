#pragma once

#include <functional>
#include <string>

#include <QLineEdit>

namespace timer {

// The text the field gives after SetText(text): each of the first two characters fills its
// position when it is a digit and leaves it blank otherwise; trailing blanks are dropped.
// The timer keeps its field's text by this rule while the field does not exist yet.
std::string FieldText(const std::string& text);

// The custom-minutes field: two digit positions, the first required, the second optional;
// an empty position reads as a blank and shows as "_".
//
// Text() is the content with trailing blanks removed, so clearing the first position
// leaves a leading blank (" 5"). OnChange runs whenever that text changes, whether the
// user typed or SetText was called; setting the text it already holds runs nothing.
//
// Leaving the field after an edit while the first position is empty beeps, puts the focus
// back and reports kInvalidInput through the default error handler; Escape puts back the
// text the field held when it got the focus.
class TTimerEdit : public QLineEdit {
 public:
  static constexpr const char* kInvalidInput =
      "Invalid input value.  Use escape key to abandon changes";

  explicit TTimerEdit(QWidget* parent);

  std::string Text() const;
  // Gives the field FieldText(text).
  void SetText(const std::string& text);

  std::function<void()> OnChange;

  // The exit check on its own: true when the field may be left.
  bool ValidateExit();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool FirstPositionEmpty() const;
  void Notify();

  std::string last_;
  std::string textAtEnter_;
  bool reEnter_ = false;
};

}  // namespace timer
