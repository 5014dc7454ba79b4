#include "sounds/SoundUnitReader.h"

#include <algorithm>

#include "platform/DynamicModule.h"

namespace sounds {

std::optional<SoundUnitContents> ReadSoundUnit(const std::string& path, std::string* why) {
  const platform::HMODULE unit =
      platform::LoadLibraryExA(path.c_str(), nullptr, platform::LOAD_LIBRARY_AS_DATAFILE);
  if (!unit) {
    if (why) *why = platform::LastModuleError();
    return std::nullopt;
  }
  const platform::SoundUnitStrings* strings = platform::GetSoundUnitStrings(unit);
  SoundUnitContents contents{strings->header, strings->clips};
  if (contents.clips.size() > size_t{kMaxClipsPerUnit}) contents.clips.resize(kMaxClipsPerUnit);
  platform::FreeLibrary(unit);
  return contents;
}

}  // namespace sounds
