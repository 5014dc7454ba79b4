#include "editors/EditorWindow.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace editors {

namespace {

void Press(QPushButton* button) {
  if (button && button->isVisible() && button->isEnabled()) button->click();
}

}  // namespace

TEditorWindow::TEditorWindow()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {}

void TEditorWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  if (!shownBefore_ && form_) form_->CenterOnScreen();
  shownBefore_ = true;
  if (OnShow) tk::Guard(OnShow);
}

// Keys reach here when the focused control does not use them: a focused push button
// takes Enter itself, the edit boxes and the grid pass it on.
void TEditorWindow::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
    QWidget::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Press(DefaultButton);
      break;
    case Qt::Key_Escape:
      Press(CancelButton);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace editors
