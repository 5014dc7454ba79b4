#include "sounds/SoundUnitReader.h"

#include <exception>
#include <memory>
#include <thread>

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

void ReadSoundUnitsAhead(const std::vector<std::string>& paths) {
  std::vector<std::thread> readers;
  for (const std::string& path : paths) {
    if (path.empty()) continue;
    readers.emplace_back([path] {
      try {
        ReadSoundUnit(path);
      } catch (const std::exception&) {
        // The reading in order tries again and reports it.
      }
    });
  }
  for (auto& reader : readers) reader.join();
}

}  // namespace sounds
