#pragma once

#include <string>

#include <QObject>

class QKeyEvent;

namespace tk {
class TForm;
class TMenuItem;
class TMenuWindow;
}  // namespace tk

// Writes what the program shows to a file, one line per event, for the end-to-end
// journeys and the latency trials: every menu window shown, the tray menu's entries as it
// opens, each key pressed in a menu with the time it arrived, and the configuration
// window's timer settings as it shows. It watches from outside: the menu windows' show
// observer and, from the tray menu's first opening, an event filter on the application.
class EventProbe : public QObject {
 public:
  explicit EventProbe(std::string logPath);
  ~EventProbe() override;
  EventProbe(const EventProbe&) = delete;
  EventProbe& operator=(const EventProbe&) = delete;

  // Installs a probe for the program's life when JBW_E2E_LOG names a file.
  static void InstallFromEnvironment();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MenuShown(const tk::TMenuWindow& window);
  void PopupOpened(const tk::TMenuItem& items);
  void MenuKey(const QKeyEvent& key);
  void ConfigurationShown();
  void Write(const std::string& line) const;

  std::string path_;
  tk::TForm* config_ = nullptr;
};
