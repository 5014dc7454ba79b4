#include "EventProbe.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QRadioButton>
#include <QWidget>

#include "timer/TimerEdit.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/MenuLayout.h"
#include "toolkit/MenuWindow.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"

namespace {

// The captions of a menu's entries, joined with "|".
std::string Captions(const tk::TMenuItem& menu) {
  std::string captions;
  for (int i = 0; i < menu.Count(); ++i) captions += (i ? "|" : "") + menu.Items(i)->Caption();
  return captions;
}

// A shown menu's entries per column, checked entries and captions.
std::string DescribeMenuWindow(const tk::TMenuWindow& window) {
  const tk::TMenuLayout& layout = window.Layout();
  std::string columns;
  for (int c = 0; c < layout.Columns(); ++c) {
    columns += (c ? "," : "") + std::to_string(layout.ColumnSize(c));
  }
  std::string checked, entries;
  for (const tk::TMenuLayout::Cell& cell : layout.cells) {
    if (cell.item->Checked()) checked += (checked.empty() ? "" : "|") + cell.item->Caption();
    entries += (entries.empty() ? "" : "|") + cell.item->Caption();
  }
  const std::string& caption = window.Menu()->Caption();
  return "menu shown: " + (caption.empty() ? std::string("(top)") : caption) + ": columns " +
         columns + "; checked: " + checked + "; entries: " + entries;
}

template <typename T>
T* Owned(const tk::TComponent& owner, const std::string& name) {
  for (tk::TComponent* component : owner.Components()) {
    if (component->Name() == name) return dynamic_cast<T*>(component);
  }
  return nullptr;
}

}  // namespace

EventProbe::EventProbe(std::string logPath) : path_(std::move(logPath)) {
  tk::TMenuWindow::SetShowObserver([this](const tk::TMenuWindow& window) { MenuShown(window); });
}

EventProbe::~EventProbe() {
  tk::TMenuWindow::SetShowObserver(nullptr);
}

void EventProbe::InstallFromEnvironment() {
  const char* path = std::getenv("JBW_E2E_LOG");
  if (!path || !*path) return;
  static EventProbe probe(path);
}

bool EventProbe::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && dynamic_cast<tk::TMenuWindow*>(watched)) {
    MenuKey(static_cast<const QKeyEvent&>(*event));
    return false;
  }
  if (event->type() == QEvent::Show && !event->spontaneous() && config_ &&
      watched == config_->Widget()) {
    tk::Guard([this] { ConfigurationShown(); });
  }
  return false;
}

void EventProbe::MenuShown(const tk::TMenuWindow& window) {
  if (!window.ParentMenuWindow()) PopupOpened(*window.Menu());
  Write(DescribeMenuWindow(window));
}

void EventProbe::PopupOpened(const tk::TMenuItem& items) {
  if (!config_) {
    // The tray menu's entries belong to its popup menu, which the configuration form owns.
    auto* menu = dynamic_cast<tk::TPopupMenu*>(items.Owner());
    config_ = menu ? dynamic_cast<tk::TForm*>(menu->Owner()) : nullptr;
  }
  // Watches the form's showings and the keys of menu windows, which come and go. Installed
  // again, a filter still runs once.
  qApp->installEventFilter(this);
  Write("popup opened: " + Captions(items));
  for (int i = 0; i < items.Count(); ++i) {
    if (items.Items(i)->Name() == "MenuExternal") {
      Write("external sounds: " + Captions(*items.Items(i)));
    }
  }
}

void EventProbe::MenuKey(const QKeyEvent& key) {
  // Wall-clock time, so that latency trials can set the moment a key reached the program
  // against a recording of the sound that follows.
  const auto since = std::chrono::system_clock::now().time_since_epoch();
  const long long us = std::chrono::duration_cast<std::chrono::microseconds>(since).count();
  char at[32];
  std::snprintf(at, sizeof at, "%lld.%06lld", us / 1000000, us % 1000000);
  Write("menu key: " + QKeySequence(key.key()).toString().toStdString() + " at " + at);
}

void EventProbe::ConfigurationShown() {
  const QWidget* w = config_->Widget();
  const auto* on = w->findChild<QCheckBox*>("CBTimer");
  const auto* field = dynamic_cast<timer::TTimerEdit*>(w->findChild<QLineEdit*>("EditTimer"));
  const auto* timer = Owned<tk::TTimer>(*config_, "Timer");
  if (!on || !field || !timer) return;
  const char* selected = "none";
  for (const auto& [name, caption] : {std::pair{"RBtn2Mins", "Two Minutes"},
                                      {"RBtn5Mins", "Five Minutes"},
                                      {"RBtnRandom", "Random"},
                                      {"RBtnCustom", "Custom"}}) {
    const auto* button = w->findChild<QRadioButton*>(name);
    if (button && button->isChecked()) {
      selected = caption;
      break;
    }
  }
  Write(std::string("configuration shown: On ") + (on->isChecked() ? "checked" : "unchecked") +
        "; selected " + selected + "; field '" + field->Text() + "'; interval " +
        std::to_string(timer->Interval()));
}

void EventProbe::Write(const std::string& line) const {
  if (FILE* f = std::fopen(path_.c_str(), "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}
