#include "editors/UnitCheck.h"

#include "platform/DynamicModule.h"

namespace editors {

bool IsSoundUnit(const std::string& path) {
  const platform::HMODULE unit =
      platform::LoadLibraryExA(path.c_str(), nullptr, platform::LOAD_LIBRARY_AS_DATAFILE);
  if (!unit) return false;
  platform::FreeLibrary(unit);
  return true;
}

}  // namespace editors
