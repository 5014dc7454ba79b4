// The smallest Qt program that shows a tray icon: the baseline for start-up time, idle
// CPU and resident memory.
#include <QApplication>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QPixmap pixmap(22, 22);
  pixmap.fill(Qt::darkBlue);
  QSystemTrayIcon icon{QIcon(pixmap)};
  icon.setToolTip("minimal");
  icon.show();
  return app.exec();
}
