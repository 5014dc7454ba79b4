#include "sounds/SoundUnitReader.h"

#include <memory>

#include "platform/DynamicModule.h"

namespace sounds {

std::optional<SoundUnitContents> ReadSoundUnit(const std::string& path, std::string* why) {
  // Released on every way out, an exception from a string copy included.
  const std::unique_ptr<platform::Module, decltype(&platform::FreeLibrary)> unit(
      platform::LoadLibraryExA(path.c_str(), nullptr, platform::LOAD_LIBRARY_AS_DATAFILE),
      &platform::FreeLibrary);
  if (!unit) {
    if (why) *why = platform::LastModuleError();
    return std::nullopt;
  }
  const platform::SoundUnitStrings* strings = platform::GetSoundUnitStrings(unit.get());
  SoundUnitContents contents{strings->header, strings->clips};
  if (contents.clips.size() > size_t{kMaxClipsPerUnit}) contents.clips.resize(kMaxClipsPerUnit);
  return contents;
}

}  // namespace sounds
