#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sounds {

// A damaged unit must not be able to make the catalogue build millions of entries.
inline constexpr int kMaxClipsPerUnit = 100000;

struct SoundUnitContents {
  std::string header;              // SoundsList(0)
  std::vector<std::string> clips;  // SoundsList(1..N), copied as returned
};

// Loads the unit, copies its header and clip strings and releases it again. Nothing when
// the unit cannot be loaded or lacks one of the two exports. A negative clip count reads
// no clips; a null string reads as empty.
std::optional<SoundUnitContents> ReadSoundUnit(const std::string& path);

}  // namespace sounds
