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

// Loads the unit as data (its code never runs in this process), copies its header and
// clip strings and releases it again. Nothing, and `why`, when the unit cannot be read
// or lacks one of the two exports. A negative clip count reads no clips; a null string
// reads as empty.
std::optional<SoundUnitContents> ReadSoundUnit(const std::string& path, std::string* why = nullptr);

// Reads the units side by side and keeps nothing: the platform keeps each reading until
// the file changes, so the ReadSoundUnit calls that follow find them read, and units
// that take the reader's whole time limit cost it once, not once each.
void ReadSoundUnitsAhead(const std::vector<std::string>& paths);

}  // namespace sounds
