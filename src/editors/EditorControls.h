#pragma once

#include <QIcon>
#include <QRect>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace editors {

// Builders for the editors' controls, placed at fixed client-area bounds. Names become
// object names; hints show as tooltips.
QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& bounds, const char* caption,
                        const char* hint);
// A picture button that never takes the focus.
QToolButton* MakePictureButton(QWidget* parent, const char* name, const QRect& bounds,
                               const QIcon& glyph, const char* hint);
// A box that holds one line.
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& bounds, const char* hint);
// A label sized to its caption, placed by its left and top.
QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const char* caption,
                  bool underlined = false);
// An etched frame drawn behind the controls it groups.
QFrame* MakeBevel(QWidget* parent, const char* name, const QRect& bounds, bool raised);

// The window's font, with the toolkit's substitute when the face is missing.
void SetFormFont(QWidget* form);

}  // namespace editors
