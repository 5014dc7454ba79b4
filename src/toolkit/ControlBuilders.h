#pragma once

#include <initializer_list>

#include <QIcon>
#include <QRect>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace tk {

// Builders for controls placed at fixed client-area bounds, as the windows were laid out.
// Names become object names; hints show as tooltips.

void PlaceWidget(QWidget* widget, const char* name, const QRect& bounds, const char* hint);

// Any control: named, placed and hinted; returned as it came.
template <typename W>
W* Place(W* widget, const char* name, const QRect& bounds, const char* hint = nullptr) {
  PlaceWidget(widget, name, bounds, hint);
  return widget;
}

// A push button that, focused, takes Enter for itself.
QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& bounds, const char* caption,
                        const char* hint);
// A picture button that never takes the focus.
QToolButton* MakePictureButton(QWidget* parent, const char* name, const QRect& bounds,
                               const QIcon& glyph, const char* hint, int glyphSize = 16);
// A box that holds one line.
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& bounds, const char* hint);

// A label's look beyond the window's font.
struct LabelStyle {
  bool underlined = false;
  int points = 0;  // 0: the window's size
};
// A label sized to its caption, placed by its left and top.
QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const char* caption,
                  LabelStyle style = {});
// An etched frame drawn behind the controls it groups.
QFrame* MakeBevel(QWidget* parent, const char* name, const QRect& bounds, bool raised);

// Links the controls' tab order in the order given.
void SetTabOrder(std::initializer_list<QWidget*> chain);

// The window's font, with the toolkit's substitute when the face is missing.
void SetFormFont(QWidget* form);

}  // namespace tk
