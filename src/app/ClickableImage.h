#pragma once

#include <QLabel>

namespace app {

// A picture that reports clicks and double-clicks, as the forms' Image controls do.
class ClickableImage : public QLabel {
  Q_OBJECT

 public:
  explicit ClickableImage(QWidget* parent = nullptr) : QLabel(parent) {}

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace app
