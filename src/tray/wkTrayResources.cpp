#include "tray/wkTrayResources.h"

#include <algorithm>

#include "rtl/RuntimeErrors.h"
#include "tray/wkTray.h"

namespace tray {

void TwkTrayResources::Put(int index, const std::string& value) {
  if (index < 0 || index >= Count()) {
    throw rtl::Exception("List index out of bounds (" + std::to_string(index) + ")");
  }
  strings_[index] = value;
  if (Tray) Tray->RefreshIcon();
}

int TwkTrayResources::Add(const std::string& value) {
  strings_.push_back(value);
  return Count() - 1;
}

void TwkTrayResources::Insert(int index, const std::string& value) {
  strings_.insert(strings_.begin() + std::min(std::max(index, 0), Count()), value);
}

void TwkTrayResources::Delete(int index) {
  if (index >= 0 && index < Count()) strings_.erase(strings_.begin() + index);
}

}  // namespace tray
