#pragma once

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class QWidget;

namespace timer {

class TTimerEdit;

// The timer controls of the configuration window, children of the window's client area.
// Each carries its control name as its object name.
struct TTimerControls {
  QLabel* Lable1 = nullptr;
  QCheckBox* CBTimer = nullptr;
  QRadioButton* RBtn2Mins = nullptr;
  QRadioButton* RBtn5Mins = nullptr;
  QRadioButton* RBtnRandom = nullptr;
  QRadioButton* RBtnCustom = nullptr;
  TTimerEdit* EditTimer = nullptr;
  QLabel* Label4 = nullptr;
  // The one group of the four radio buttons.
  QButtonGroup* RadioGroup = nullptr;
};

// Creates the controls in their start state: "On" unchecked, "Two Minutes" selected, the
// field holding "3". Their tab order runs RBtn2Mins, RBtn5Mins, CBTimer, RBtnRandom,
// RBtnCustom, EditTimer; the window links its other controls around that chain.
TTimerControls CreateTimerControls(QWidget* parent);

}  // namespace timer
