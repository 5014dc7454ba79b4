#include "platform/linux/tray/TrayHostWatch.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "platform/linux/x11/X11Properties.h"

namespace platform {

namespace {

class TrayWindowNamer : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->inherits("QSystemTrayIconSys")) {
      SetX11WindowClass(static_cast<QWidget*>(watched), kTrayWindowClassName, "Jabberwell");
    }
    return false;
  }
};

}  // namespace

void NameTrayWindows() {
  static QPointer<TrayWindowNamer> namer;
  if (namer || !qApp) return;
  namer = new TrayWindowNamer(qApp);
  qApp->installEventFilter(namer);
}

void ReshowWhenTrayHostAppears(std::function<void()> reshow) {
  static QPointer<QTimer> timer;
  static std::function<void()> pending;
  if (!qApp || QSystemTrayIcon::isSystemTrayAvailable()) return;
  pending = std::move(reshow);
  if (timer) return;
  timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [] {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    timer->stop();
    timer->deleteLater();
    if (auto run = std::exchange(pending, nullptr)) run();
  });
  timer->start(2000);
}

}  // namespace platform
