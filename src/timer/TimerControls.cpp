#include "timer/TimerControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "timer/TimerEdit.h"

namespace timer {

namespace {

constexpr const char* kCustomHint = "Set Your Own Custom Time (between 1 and 99 Minutes";

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromLatin1(name));
  if (width > 0) {
    widget->setGeometry(left, top, width, height);
  } else {
    widget->adjustSize();
    widget->move(left, top);
  }
  return widget;
}

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption, const char* hint,
                    int left, int top, int width) {
  auto* button =
      Place(new QRadioButton(QString::fromLocal8Bit(caption), parent), name, left, top, width, 17);
  button->setToolTip(QString::fromLocal8Bit(hint));
  return button;
}

}  // namespace

TTimerControls CreateTimerControls(QWidget* parent) {
  TTimerControls c;

  c.Lable1 =
      Place(new QLabel(QStringLiteral("Timer Configuration"), parent), "Lable1", 16, 120, 0, 0);
  QFont underlined = c.Lable1->font();
  underlined.setUnderline(true);
  c.Lable1->setFont(underlined);
  c.Lable1->adjustSize();

  c.CBTimer = Place(new QCheckBox(QStringLiteral("On"), parent), "CBTimer", 192, 120, 49, 17);
  c.CBTimer->setToolTip(QStringLiteral("Check Box to Turn Timer On/Off"));

  c.RBtn2Mins =
      Radio(parent, "RBtn2Mins", "Two Minutes", "Play Random Sound Every Two Minutes", 16, 144, 97);
  c.RBtn5Mins = Radio(parent, "RBtn5Mins", "Five Minutes", "Play Random Sound Every Five Minutes",
                      16, 168, 97);
  c.RBtnRandom = Radio(parent, "RBtnRandom", "Random 3-9 Minutes",
                       "Play Random Sound Randomly Between 3 and 9 Minutes", 120, 144, 121);
  c.RBtnCustom = Radio(parent, "RBtnCustom", "Custom", kCustomHint, 120, 168, 65);

  c.RadioGroup = new QButtonGroup(parent);
  c.RadioGroup->setObjectName(QStringLiteral("RadioGroup"));
  c.RadioGroup->setExclusive(true);
  for (QRadioButton* b : {c.RBtn2Mins, c.RBtn5Mins, c.RBtnRandom, c.RBtnCustom})
    c.RadioGroup->addButton(b);
  c.RBtn2Mins->setChecked(true);

  c.EditTimer = Place(new TTimerEdit(parent), "EditTimer", 184, 168, 25, 21);
  c.EditTimer->setToolTip(QString::fromLocal8Bit(kCustomHint));
  c.EditTimer->SetText("3");

  c.Label4 = Place(new QLabel(QStringLiteral("Mins."), parent), "Label4", 216, 168, 0, 0);

  QWidget::setTabOrder(c.RBtn2Mins, c.RBtn5Mins);
  QWidget::setTabOrder(c.RBtn5Mins, c.CBTimer);
  QWidget::setTabOrder(c.CBTimer, c.RBtnRandom);
  QWidget::setTabOrder(c.RBtnRandom, c.RBtnCustom);
  QWidget::setTabOrder(c.RBtnCustom, c.EditTimer);
  return c;
}

}  // namespace timer
