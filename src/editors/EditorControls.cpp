#include "editors/EditorControls.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "editors/OneLine.h"

namespace editors {

namespace {

QString Q(const char* text) {
  return QString::fromLocal8Bit(text);
}

template <typename W>
W* Place(W* widget, const char* name, const QRect& bounds, const char* hint) {
  widget->setObjectName(Q(name));
  widget->setGeometry(bounds);
  if (hint && *hint) widget->setToolTip(Q(hint));
  return widget;
}

}  // namespace

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& bounds, const char* caption,
                        const char* hint) {
  auto* button = Place(new QPushButton(Q(caption), parent), name, bounds, hint);
  // A focused button takes Enter for itself; elsewhere Enter goes to the default button.
  button->setAutoDefault(true);
  return button;
}

QToolButton* MakePictureButton(QWidget* parent, const char* name, const QRect& bounds,
                               const QIcon& glyph, const char* hint) {
  auto* button = Place(new QToolButton(parent), name, bounds, hint);
  button->setIcon(glyph);
  button->setIconSize(QSize(16, 16));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& bounds, const char* hint) {
  auto* edit = Place(new QLineEdit(parent), name, bounds, hint);
  edit->setValidator(new OneLineValidator(edit));
  return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const char* caption,
                  bool underlined) {
  auto* label = new QLabel(parent);
  label->setObjectName(Q(name));
  label->setTextFormat(Qt::PlainText);
  label->setText(Q(caption));
  if (underlined) {
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
  }
  label->move(left, top);
  label->adjustSize();
  return label;
}

QFrame* MakeBevel(QWidget* parent, const char* name, const QRect& bounds, bool raised) {
  auto* bevel = Place(new QFrame(parent), name, bounds, nullptr);
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(raised ? QFrame::Raised : QFrame::Sunken);
  bevel->setAttribute(Qt::WA_TransparentForMouseEvents);
  bevel->lower();
  return bevel;
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

}  // namespace editors
