#include "toolkit/Form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <utility>

#include "platform/WindowHandles.h"
#include "platform/linux/QtBridge.h"

namespace tk {

namespace {

// Our windows leave the screen only through their own buttons, clicks and timers, which
// also switch the tray menu back on; a close from the window manager would hide a
// window with the menu left off for good.
class WindowManagerCloseFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Close || !event->spontaneous()) return false;
    event->ignore();
    return true;
  }
};

}  // namespace

TForm::TForm(TComponent* owner, QWidget* widget)
    : TComponent(owner), widget_(widget ? widget : new QWidget()) {
  platform::ApplySkipTaskbar(widget_.get());
  widget_->installEventFilter(new WindowManagerCloseFilter(widget_.get()));
}

TForm::~TForm() {
  // Owned components may still refer to the widget or the window, so they go first.
  DestroyComponents();
  if (handle_) platform::DestroyWindowHandle(handle_);
}

void TForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  widget_->setWindowTitle(QString::fromLocal8Bit(caption));
}

void TForm::EnsureBuilt() {
  // Taken out first: a build that fails is not run again half-way.
  if (auto build = std::exchange(build_, nullptr)) build();
}

void TForm::Show() {
  EnsureBuilt();
  if (centerOnShow_ && !widget_->isVisible()) CenterOnScreen();
  widget_->show();
  widget_->raise();
}

void TForm::Hide() {
  widget_->hide();
}

bool TForm::Visible() const {
  return widget_->isVisible();
}

void TForm::SetVisible(bool value) {
  if (value) {
    Show();
  } else {
    Hide();
  }
}

void TForm::Repaint() {
  if (!widget_->isVisible()) return;
  widget_->repaint();
  // A window that was just shown is painted only once it is mapped and exposed.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  widget_->repaint();
}

void TForm::SetClientSize(int width, int height, bool fixed) {
  if (fixed) {
    widget_->setFixedSize(width, height);
  } else {
    widget_->resize(width, height);
  }
}

void TForm::CenterOnScreen() {
  QScreen* screen = widget_->screen() ? widget_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize frame = widget_->frameGeometry().size();
  widget_->move(area.x() + (area.width() - frame.width()) / 2,
                area.y() + (area.height() - frame.height()) / 2);
}

platform::HWND TForm::Handle() {
  if (!handle_) {
    handle_ = platform::CreateWidgetWindowHandle(&TForm::FormWndProc, this, widget_.get());
  }
  return handle_;
}

platform::LRESULT TForm::FormWndProc(platform::HWND window, platform::UINT msg,
                                     platform::WPARAM wParam, platform::LPARAM lParam) {
  auto* form = static_cast<TForm*>(platform::GetWindowUserData(window));
  if (!form) return 0;
  TMessage message{msg, wParam, lParam, 0};
  form->Dispatch(message);
  return message.Result;
}

}  // namespace tk
