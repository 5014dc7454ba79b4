#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Hotkeys.h"

namespace tk {

using TNotifyEvent = std::function<void(TComponent* sender)>;

// mbBarBreak starts a new column with a vertical bar between the columns.
enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

class TPopupMenu;

// One entry of a menu tree. The owner (a form) destroys it at the end; the parent item
// holds it in its list. Destroying an item removes it from its parent and destroys its
// own entries.
class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool IsLine() const { return caption_ == "-"; }

  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool value);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  void SetGroupIndex(int value);
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak value);

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(index); }
  TMenuItem* Parent() const { return parent_; }
  int IndexOf(const TMenuItem* item) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);  // detaches without destroying
  // The first entry whose caption, access-key marks aside, equals `caption`.
  TMenuItem* Find(const std::string& caption) const;

  // What choosing the entry does: runs OnClick. It never changes a check mark itself.
  virtual void Click();
  TNotifyEvent OnClick;

  // A number that names this entry alone for the life of the process.
  int Serial() const { return serial_; }
  // This entry or the one below it with that serial; nullptr when it is gone.
  TMenuItem* FindBySerial(int serial);

 private:
  friend class TPopupMenu;
  void TurnSiblingsOff();
  // Tells the popup menu at the root of the tree, if any, that something changed.
  void Changed();

  std::string caption_;
  intptr_t tag_ = 0;
  bool enabled_ = true;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  TMenuBreak break_ = TMenuBreak::mbNone;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TPopupMenu* menu_ = nullptr;  // set on a popup menu's root only
  int serial_;
};

// A popup menu: a root item whose entries are the top-level items, the auto-popup flag,
// the component that opened it, and opening at a screen point.
class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  TMenuItem* Items() const { return items_; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value);
  TComponent* PopupComponent() const { return popupComponent_; }
  // Forgotten when that component is destroyed.
  void SetPopupComponent(TComponent* component);

  // Shows the menu at a screen point (kept on the screen) and returns when it closes;
  // the chosen entry's Click runs after that, under the default error handler.
  virtual void Popup(int x, int y);
  TNotifyEvent OnPopup;
  // Runs after each change of an entry anywhere in the menu or of the auto-popup flag,
  // so that a copy of the menu kept elsewhere can follow.
  std::function<void()> OnChange;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TMenuItem* items_;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};

// For tests: replaces the popup window with a presenter that sees the menu open and
// returns the chosen entry (or null). An empty presenter restores the popup window.
// Returns the presenter it replaces.
using TMenuPresenter = std::function<TMenuItem*(TPopupMenu& menu, int x, int y)>;
TMenuPresenter SetMenuPresenter(TMenuPresenter presenter);

}  // namespace tk
