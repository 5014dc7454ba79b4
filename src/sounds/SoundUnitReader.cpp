#include "sounds/SoundUnitReader.h"

#include <algorithm>

#include "jbw/SoundUnitAbi.h"
#include "platform/DynamicModule.h"

namespace sounds {

namespace {

// Releases the unit on every way out, an exception from a string copy included.
class LoadedUnit {
 public:
  explicit LoadedUnit(const std::string& path) : module_(platform::LoadLibraryA(path.c_str())) {}
  ~LoadedUnit() {
    if (module_) platform::FreeLibrary(module_);
  }
  LoadedUnit(const LoadedUnit&) = delete;
  LoadedUnit& operator=(const LoadedUnit&) = delete;

  platform::HMODULE Get() const { return module_; }

 private:
  platform::HMODULE module_;
};

std::string Copy(const char* text) {
  return text ? std::string(text) : std::string();
}

}  // namespace

std::optional<SoundUnitContents> ReadSoundUnit(const std::string& path) {
  LoadedUnit unit(path);
  if (!unit.Get()) return std::nullopt;
  const auto numberOfSounds = reinterpret_cast<JbwNumberofSoundsFn>(
      platform::GetProcAddress(unit.Get(), JBW_EXPORT_NUMBER_OF_SOUNDS));
  const auto soundsList = reinterpret_cast<JbwSoundsListFn>(
      platform::GetProcAddress(unit.Get(), JBW_EXPORT_SOUNDS_LIST));
  if (!numberOfSounds || !soundsList) return std::nullopt;

  const int n = std::min(numberOfSounds(), kMaxClipsPerUnit);
  SoundUnitContents contents;
  contents.header = Copy(soundsList(0));
  if (n > 0) contents.clips.reserve(n);
  for (int i = 1; i <= n; ++i) contents.clips.push_back(Copy(soundsList(i)));
  return contents;
}

}  // namespace sounds
