#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

#include "ini/BigIni.h"
#include "rtl/Random.h"
#include "settings/SettingsFiles.h"
#include "settings/SharedState.h"
#include "support/QtTestApp.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "timer/TimerEdit.h"
#include "timer/TimerModes.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"

// Counts the times JBW.ini was written: every save renames a fresh file over it.
class WriteCounter {
 public:
  explicit WriteCounter(const std::string& folder)
      : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    ::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
  }
  ~WriteCounter() { ::close(fd_); }
  WriteCounter(const WriteCounter&) = delete;
  WriteCounter& operator=(const WriteCounter&) = delete;

  // Writes since the last call.
  int Take() {
    int writes = 0;
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd_, buffer, sizeof buffer)) > 0) {
      for (char* p = buffer; p < buffer + n;) {
        auto* event = reinterpret_cast<inotify_event*>(p);
        if (event->len > 0 && std::string(event->name) == settings::kJbwIni) ++writes;
        p += sizeof(inotify_event) + event->len;
      }
    }
    return writes;
  }

 private:
  int fd_;
};

// A configuration window's worth of timer: the submenu, the timer, a temporary application
// folder holding the default JBW.ini, and controls on a plain widget, attached from the
// start or only by AttachLate.
class TimerRig {
 public:
  explicit TimerRig(bool controls) {
    state.appFolder = folder.Path();
    settings::CreateDefaultJbw(state.appFolder);
    menuTimer = new tk::TMenuItem(&owner);
    timer = new tk::TTimer(&owner);
    m = timer::CreateTimerMenu(&owner, menuTimer);
    auto pick = [this] {
      ++plays;
      if (onPick) onPick();
    };
    modes = std::make_unique<timer::TTimerModes>(m, *timer, state, pick);
    if (controls) AttachLate();
    writes.Take();
  }

  void AttachLate() {
    if (c.CBTimer) return;
    c = timer::CreateTimerControls(&window);
    modes->AttachControls(c);
  }
  void Store(const std::string& mode, const std::string& custom) {
    folder.Write(settings::kJbwIni,
                 "[Settings]\r\nSetTimer=" + mode + "\r\nSetCustom=" + custom + "\r\n");
    writes.Take();
  }
  // The submenu item that carries the check mark, by name ("" when none or several).
  std::string CheckedItem() const {
    std::string name;
    for (int i = 0; i < menuTimer->Count(); ++i) {
      if (!menuTimer->Items(i)->Checked()) continue;
      if (!name.empty()) return "";
      name = menuTimer->Items(i)->Name();
    }
    return name;
  }

  bool appReady = (EnsureToolkitApp(), true);  // before any widget
  TempFolder folder;
  settings::SharedState state;
  tk::TComponent owner{nullptr};
  tk::TMenuItem* menuTimer = nullptr;
  tk::TTimer* timer = nullptr;
  QWidget window;
  timer::TTimerControls c;
  timer::TTimerMenu m;
  std::unique_ptr<timer::TTimerModes> modes;
  tk::ScriptedDialogs dialogs;
  WriteCounter writes{folder.Path()};
  int plays = 0;
  // What else picking a sound does.
  std::function<void()> onPick;
};

// The rig with its controls, as the configuration window has them once shown.
class TimerFixture : public ::testing::Test, public TimerRig {
 protected:
  TimerFixture() : TimerRig(true) { rtl::RandSeed(20261208); }

  std::string Stored(const char* key) {
    ini::TBiggerIniFile ini(folder.File(settings::kJbwIni));
    return ini.ReadString(settings::kSettings, key, "<missing>");
  }
  std::string SelectedRadio() const {
    for (QRadioButton* b : {c.RBtn2Mins, c.RBtn5Mins, c.RBtnRandom, c.RBtnCustom}) {
      if (b->isChecked()) return b->objectName().toStdString();
    }
    return "";
  }
  // A key press as the user types it into the field.
  void Key(int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(c.EditTimer, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(c.EditTimer, &release);
  }
  void Type(char digit) { Key(Qt::Key_0 + (digit - '0'), QString(QChar(digit))); }
};
