#include "timer/TimerControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "timer/TimerEdit.h"
#include "toolkit/ControlBuilders.h"

namespace timer {

namespace {

constexpr const char* kCustomHint = "Set Your Own Custom Time (between 1 and 99 Minutes";

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption, const QRect& bounds,
                    const char* hint) {
  return tk::Place(new QRadioButton(QString::fromLocal8Bit(caption), parent), name, bounds, hint);
}

}  // namespace

TTimerControls CreateTimerControls(QWidget* parent) {
  TTimerControls c;
  c.Lable1 = tk::MakeLabel(parent, "Lable1", 16, 120, "Timer Configuration", {.underlined = true});
  c.CBTimer = tk::Place(new QCheckBox(QStringLiteral("On"), parent), "CBTimer", {192, 120, 49, 17},
                        "Check Box to Turn Timer On/Off");
  c.RBtn2Mins = Radio(parent, "RBtn2Mins", "Two Minutes", {16, 144, 97, 17},
                      "Play Random Sound Every Two Minutes");
  c.RBtn5Mins = Radio(parent, "RBtn5Mins", "Five Minutes", {16, 168, 97, 17},
                      "Play Random Sound Every Five Minutes");
  c.RBtnRandom = Radio(parent, "RBtnRandom", "Random 3-9 Minutes", {120, 144, 121, 17},
                       "Play Random Sound Randomly Between 3 and 9 Minutes");
  c.RBtnCustom = Radio(parent, "RBtnCustom", "Custom", {120, 168, 65, 17}, kCustomHint);

  c.RadioGroup = new QButtonGroup(parent);
  c.RadioGroup->setObjectName(QStringLiteral("RadioGroup"));
  c.RadioGroup->setExclusive(true);
  for (QRadioButton* b : {c.RBtn2Mins, c.RBtn5Mins, c.RBtnRandom, c.RBtnCustom})
    c.RadioGroup->addButton(b);
  c.RBtn2Mins->setChecked(true);

  c.EditTimer = tk::Place(new TTimerEdit(parent), "EditTimer", {184, 168, 25, 21}, kCustomHint);
  c.EditTimer->SetText("3");
  c.Label4 = tk::MakeLabel(parent, "Label4", 216, 168, "Mins.");

  tk::SetTabOrder({c.RBtn2Mins, c.RBtn5Mins, c.CBTimer, c.RBtnRandom, c.RBtnCustom, c.EditTimer});
  return c;
}

}  // namespace timer
