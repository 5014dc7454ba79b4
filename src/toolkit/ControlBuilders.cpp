#include "toolkit/ControlBuilders.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "toolkit/OneLine.h"

namespace tk {

namespace {

QString Q(const char* text) {
  return QString::fromLocal8Bit(text);
}

}  // namespace

void PlaceWidget(QWidget* widget, const char* name, const QRect& bounds, const char* hint) {
  widget->setObjectName(Q(name));
  widget->setGeometry(bounds);
  if (hint && *hint) widget->setToolTip(Q(hint));
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& bounds, const char* caption,
                        const char* hint) {
  auto* button = Place(new QPushButton(Q(caption), parent), name, bounds, hint);
  // A focused button takes Enter for itself; elsewhere Enter goes to the default button.
  button->setAutoDefault(true);
  return button;
}

QToolButton* MakePictureButton(QWidget* parent, const char* name, const QRect& bounds,
                               const QIcon& glyph, const char* hint, int glyphSize) {
  auto* button = Place(new QToolButton(parent), name, bounds, hint);
  button->setIcon(glyph);
  button->setIconSize(QSize(glyphSize, glyphSize));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& bounds, const char* hint) {
  auto* edit = Place(new QLineEdit(parent), name, bounds, hint);
  edit->setValidator(new OneLineValidator(edit));
  return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const char* caption,
                  LabelStyle style) {
  auto* label = new QLabel(parent);
  label->setObjectName(Q(name));
  label->setTextFormat(Qt::PlainText);
  label->setText(Q(caption));
  if (style.underlined || style.points > 0) {
    QFont font = label->font();
    if (style.underlined) font.setUnderline(true);
    if (style.points > 0) font.setPointSize(style.points);
    label->setFont(font);
  }
  label->move(left, top);
  label->adjustSize();
  return label;
}

QFrame* MakeBevel(QWidget* parent, const char* name, const QRect& bounds, bool raised) {
  auto* bevel = Place(new QFrame(parent), name, bounds);
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(raised ? QFrame::Raised : QFrame::Sunken);
  bevel->setAttribute(Qt::WA_TransparentForMouseEvents);
  bevel->lower();
  return bevel;
}

void SetTabOrder(std::initializer_list<QWidget*> chain) {
  QWidget* previous = nullptr;
  for (QWidget* widget : chain) {
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

void SetFormFont(QWidget* form) {
  // The fixed layout was measured in this face; narrow look-alikes keep captions inside
  // their controls where it is missing.
  QFont font;
  font.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial",
                    "DejaVu Sans Condensed"});
  font.setPointSize(8);
  font.setStyleHint(QFont::SansSerif);
  form->setFont(font);
}

}  // namespace tk
