#pragma once

#include <string>
#include <vector>

namespace tray {

class TwkTray;

// The tray's list of icon resource names. Replacing an entry refreshes the tray's icon;
// adding one does not.
class TwkTrayResources {
 public:
  explicit TwkTrayResources(TwkTray* tray) : Tray(tray) {}
  virtual ~TwkTrayResources() = default;
  TwkTrayResources(const TwkTrayResources&) = delete;
  TwkTrayResources& operator=(const TwkTrayResources&) = delete;

  int Count() const { return static_cast<int>(strings_.size()); }
  const std::string& Strings(int index) const { return strings_.at(index); }
  const std::vector<std::string>& List() const { return strings_; }

  virtual void Put(int index, const std::string& value);
  int Add(const std::string& value);
  void Assign(const std::vector<std::string>& values) { strings_ = values; }

  TwkTray* Tray;

 private:
  std::vector<std::string> strings_;
};

}  // namespace tray
