// The smallest Qt program that does what the program's start must do for its tray icon:
// a QApplication, a QSystemTrayIcon with the same icon files and a context menu with the
// same fixed entries, shown. The baseline for start-up time, idle CPU and resident memory.
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QIcon picture;
  for (int size : {16, 22, 32, 48, 64})
    picture.addFile(QStringLiteral(":/icons/MAINICON/%1.png").arg(size), QSize(size, size));

  QMenu menu;
  menu.addAction("About");
  menu.addAction("Configuration");
  QMenu* timer = menu.addMenu("Timer");
  for (const char* mode : {"Off", "2 Minutes", "5 Minutes", "3 to 9 Minutes", "Custom"})
    timer->addAction(mode)->setCheckable(true);
  QObject::connect(menu.addAction("Quit Program"), &QAction::triggered, &app, &QApplication::quit);
  menu.addSeparator();
  menu.addMenu("External Sounds");

  QSystemTrayIcon icon(picture);
  icon.setToolTip("minimal");
  icon.setContextMenu(&menu);
  icon.show();
  return app.exec();
}
