#include "editors/UnitCheck.h"

#include "jbw/SoundUnitAbi.h"
#include "platform/DynamicModule.h"

namespace editors {

bool IsSoundUnit(const std::string& path) {
  const platform::HMODULE module = platform::LoadLibraryA(path.c_str());
  if (!module) return false;
  const bool exports = platform::GetProcAddress(module, JBW_EXPORT_NUMBER_OF_SOUNDS) &&
                       platform::GetProcAddress(module, JBW_EXPORT_SOUNDS_LIST);
  platform::FreeLibrary(module);
  return exports;
}

}  // namespace editors
