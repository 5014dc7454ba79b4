#include "platform/linux/QtBridge.h"

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstdlib>
#include <cstring>

#include "platform/linux/x11/X11Properties.h"

namespace platform {

namespace {

class SkipTaskbarFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  // The show event comes before the window is mapped, while the states can still be set
  // on the property itself.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) {
        AddX11NetWmStates(w, {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
      }
    }
    return false;
  }
};

}  // namespace

void ApplySkipTaskbar(QWidget* widget) {
  if (!widget || widget->property("jbwSkipTaskbar").toBool()) return;
  widget->setProperty("jbwSkipTaskbar", true);
  widget->installEventFilter(new SkipTaskbarFilter(widget));
  if (IsX11() && widget->windowType() == Qt::Window) return;
  const bool visible = widget->isVisible();
  widget->setWindowFlag(Qt::Tool, true);  // changing the flags hides the widget
  if (visible) widget->show();
}

bool InWaylandSession() {
  const char* session = std::getenv("XDG_SESSION_TYPE");
  return std::getenv("WAYLAND_DISPLAY") || (session && std::strcmp(session, "wayland") == 0);
}

void TakeKeyboardFocus(QWidget* window) {
  window->raise();
  if (!ActivateX11Window(window)) window->activateWindow();
}

}  // namespace platform
