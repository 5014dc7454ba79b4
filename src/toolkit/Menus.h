#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Component.h"

namespace tk {

using TNotifyEvent = std::function<void(TComponent* sender)>;

// mbBarBreak starts a new column with a vertical bar between the columns.
enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

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
  int GroupIndex() const { return groupIndex_; }
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

  // What choosing the entry does: runs OnClick. It never changes a check mark itself.
  virtual void Click();
  TNotifyEvent OnClick;

 private:
  std::string caption_;
  intptr_t tag_ = 0;
  bool enabled_ = true;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  TMenuBreak break_ = TMenuBreak::mbNone;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
};

// A popup menu: a root item whose entries are the top-level items, the auto-popup flag,
// the component that opened it, and opening at a screen point.
class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  TMenuItem* Items() const { return items_; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* component) { popupComponent_ = component; }

  // Shows the menu at a screen point; a chosen entry runs its Click. Returns when the
  // menu is closed.
  virtual void Popup(int x, int y);
  TNotifyEvent OnPopup;

 private:
  TMenuItem* items_;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};

}  // namespace tk
