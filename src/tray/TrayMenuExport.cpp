#include "tray/TrayMenuExport.h"

#include <QCoreApplication>
#include <limits>

#include "toolkit/Application.h"

namespace tray {

namespace {

platform::TrayMenuEntry CopyOf(const tk::TMenuItem& item) {
  platform::TrayMenuEntry entry{item.Serial(),  item.Caption(),   item.Enabled(),
                                item.Checked(), item.RadioItem(), {}};
  entry.entries.reserve(item.Count());
  for (int i = 0; i < item.Count(); ++i) entry.entries.push_back(CopyOf(*item.Items(i)));
  return entry;
}

}  // namespace

TTrayMenuExport::TTrayMenuExport(tk::TComponent* opener) : opener_(opener) {
  pending_.setSingleShot(true);
  pending_.setInterval(0);
  QObject::connect(&pending_, &QTimer::timeout, [this] { Publish(); });
}

TTrayMenuExport::~TTrayMenuExport() {
  SetMenu(nullptr);
}

void TTrayMenuExport::SetMenu(tk::TPopupMenu* menu) {
  if (menu_) menu_->OnChange = nullptr;
  menu_ = menu;
  if (menu_) {
    menu_->OnChange = [this] {
      if (!QCoreApplication::instance()) return Publish();
      if (!pending_.isActive()) pending_.start();
    };
  }
  Publish();
}

void TTrayMenuExport::SetIcon(platform::HWND window, platform::UINT id) {
  window_ = window;
  id_ = id;
  Publish();
}

platform::TrayMenuEntry TTrayMenuExport::Snapshot() const {
  if (!menu_) return {};
  if (!menu_->AutoPopup()) {
    // Hosts take ids below 0 for none; this one is no entry's serial for long.
    constexpr int lineId = std::numeric_limits<int>::max();
    return {0, "", true, false, false, {{lineId, ClosedCaption, false, false, false, {}}}};
  }
  platform::TrayMenuEntry root = CopyOf(*menu_->Items());
  root.id = 0;
  return root;
}

void TTrayMenuExport::Publish() {
  pending_.stop();
  if (window_ == 0 || id_ == 0) return;
  platform::SetNotifyIconMenu(window_, id_, Snapshot(), [this](int serial) { Choose(serial); });
}

void TTrayMenuExport::Choose(int serial) {
  // The host may still show a menu from before the flag went off or a rebuild.
  if (!menu_ || !menu_->AutoPopup()) return;
  if (serial == 0) {
    // The host shows the menu, as the drawn popup would show it.
    if (menu_->OnPopup) tk::Guard([this] { menu_->OnPopup(menu_); });
    return;
  }
  tk::TMenuItem* item = menu_->Items()->FindBySerial(serial);
  if (!item || item->Count() > 0) return;
  menu_->SetPopupComponent(opener_);
  tk::Guard([item] { item->Click(); });
}

}  // namespace tray
