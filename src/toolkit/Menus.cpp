#include "toolkit/Menus.h"

#include <algorithm>
#include <iterator>

#include "rtl/RuntimeErrors.h"
#include "toolkit/Application.h"
#include "toolkit/MenuWindow.h"

namespace tk {

namespace {

TMenuPresenter& Presenter() {
  static TMenuPresenter presenter;
  return presenter;
}

int lastSerial = 0;

}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), serial_(++lastSerial) {}

TMenuItem::~TMenuItem() {
  if (parent_) parent_->Remove(this);
  // Entries go with their parent, whoever owns them; each one leaves our list as it dies.
  while (!items_.empty()) delete items_.back();
}

void TMenuItem::Changed() {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  if (root->menu_ && root->menu_->OnChange) root->menu_->OnChange();
}

void TMenuItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  enabled_ = value;
  Changed();
}

void TMenuItem::SetChecked(bool value) {
  checked_ = value;
  if (value && radioItem_) TurnSiblingsOff();
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  radioItem_ = value;
  if (value && checked_) TurnSiblingsOff();
  Changed();
}

void TMenuItem::SetGroupIndex(int value) {
  groupIndex_ = value;
  if (radioItem_ && checked_) TurnSiblingsOff();
  Changed();
}

void TMenuItem::SetBreak(TMenuBreak value) {
  break_ = value;
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  for (TMenuItem* sibling : parent_->items_) {
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) {
      sibling->checked_ = false;
    }
  }
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->parent_) throw rtl::Exception("Menu inserted twice");
  if (index < 0 || index > Count()) throw rtl::Exception("Menu index out of range");
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (item->radioItem_ && item->checked_) item->TurnSiblingsOff();
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  // Menus are torn down from the last entry up, so look from the back.
  auto it = std::find(items_.rbegin(), items_.rend(), item);
  if (it == items_.rend()) return;
  items_.erase(std::next(it).base());
  item->parent_ = nullptr;
  Changed();
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
  const std::string wanted = StripHotkey(caption);
  for (TMenuItem* item : items_) {
    if (StripHotkey(item->caption_) == wanted) return item;
  }
  return nullptr;
}

TMenuItem* TMenuItem::FindBySerial(int serial) {
  if (serial_ == serial) return this;
  for (TMenuItem* item : items_) {
    if (TMenuItem* found = item->FindBySerial(serial)) return found;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->menu_ = this;
}

TPopupMenu::~TPopupMenu() {
  OnChange = nullptr;
  delete items_;
}

void TPopupMenu::SetAutoPopup(bool value) {
  if (value == autoPopup_) return;
  autoPopup_ = value;
  if (OnChange) OnChange();
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (popupComponent_) RemoveFreeNotification(popupComponent_);
  popupComponent_ = component;
  if (component) FreeNotification(component);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  TMenuItem* chosen = nullptr;
  if (Presenter()) {
    chosen = Presenter()(*this, x, y);
  } else {
    chosen = TMenuWindow::Track(*this, x, y);
  }
  // The chosen entry acts only once the menu is gone, as a posted command would.
  if (chosen) Guard([chosen] { chosen->Click(); });
}

TMenuPresenter SetMenuPresenter(TMenuPresenter presenter) {
  TMenuPresenter previous = std::move(Presenter());
  Presenter() = std::move(presenter);
  return previous;
}

}  // namespace tk
