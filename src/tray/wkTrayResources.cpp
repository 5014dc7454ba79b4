#include "tray/wkTrayResources.h"

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

}  // namespace tray
