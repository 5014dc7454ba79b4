#pragma once

#include <string>

#include <QObject>

namespace tk {
class TForm;
class TMenuItem;
class TMenuWindow;
}  // namespace tk

// Writes what the program shows to a file, one line per event, for the end-to-end
// journeys: every menu window shown, the tray menu's entries as it opens and the
// configuration window's timer settings as it shows. It watches from outside: the menu
// windows' show observer, and an event filter on the window of the form that owns the
// tray menu, found the first time that menu opens.
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
  void ConfigurationShown();
  void Write(const std::string& line) const;

  std::string path_;
  tk::TForm* config_ = nullptr;
};
