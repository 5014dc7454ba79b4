#include "toolkit/Component.h"

#include <algorithm>

namespace tk {

TComponent::TComponent(TComponent* owner) : owner_(nullptr) {
  if (owner) {
    owner->InsertComponent(this);
    // Components created while their owner is read from its stored description are
    // part of that reading; the owner's EndLoading finishes them.
    loading_ = owner->loading_;
  }
}

TComponent::~TComponent() {
  destroying_ = true;
  // Tell everyone who asked; they drop their references to us.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  destroying_ = true;
  // Owned components go with their owner, last created first.
  while (!components_.empty()) {
    TComponent* child = components_.back();
    child->destroying_ = true;
    delete child;  // its destructor removes it from components_
  }
}

void TComponent::SetName(const std::string& name) {
  if (name != name_) SetComponentName(name);
}

void TComponent::BeginLoading() {
  loading_ = true;
  for (TComponent* c : components_) c->BeginLoading();
}

void TComponent::EndLoading() {
  // Owned components first, as a form's stored description finishes its children.
  const std::vector<TComponent*> children = components_;
  for (TComponent* c : children) c->EndLoading();
  if (loading_) Loaded();
}

void TComponent::Loaded() {
  loading_ = false;
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
    freeNotifies_.push_back(other);
    other->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other),
                      freeNotifies_.end());
  if (other) {
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
  }
}

void TComponent::Dispatch(TMessage& message) {
  auto it = handlers_.find(message.Msg);
  if (it != handlers_.end()) {
    it->second(message);
  } else {
    DefaultHandler(message);
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component && component->owner_ == this) {
    RemoveComponent(component);
  }
}

void TComponent::SetMessageHandler(uint32_t msg, std::function<void(TMessage&)> handler) {
  handlers_[msg] = std::move(handler);
}

void TComponent::InsertComponent(TComponent* c) {
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* c) {
  components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
  c->owner_ = nullptr;
}

}  // namespace tk
