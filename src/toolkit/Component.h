#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tk {

// A window message as handed to a component's dispatch.
struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

enum class TOperation { opInsert, opRemove };

// The toolkit's component model: an owner that destroys what it owns, a name, the
// loading/destroying states, the loaded notification, free notifications
// and message dispatch by number.
class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);

  bool Loading() const { return loading_; }
  bool Destroying() const { return destroying_; }

  // Reading a stored description: BeginLoading, set properties, EndLoading (which
  // runs Loaded). Owned components are loaded with their owner.
  void BeginLoading();
  void EndLoading();

  // Asks this component to tell `other` (through Notification) when it is destroyed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Sends the message to the handler declared for its number, or to DefaultHandler.
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage&) {}

 protected:
  virtual void Loaded();
  // Marks this component and what it owns as being destroyed and destroys what it owns,
  // for a subclass whose owned components must go before its own members.
  void DestroyComponents();
  virtual void Notification(TComponent* component, TOperation operation);
  // Renaming hook: the base stores the name; subclasses add behaviour after it.
  virtual void SetComponentName(const std::string& name) { name_ = name; }
  void SetMessageHandler(uint32_t msg, std::function<void(TMessage&)> handler);

 private:
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::unordered_map<uint32_t, std::function<void(TMessage&)>> handlers_;
  bool loading_ = false;
  bool destroying_ = false;
};

}  // namespace tk
