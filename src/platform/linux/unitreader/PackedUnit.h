#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

// A unit made by jbw-unit-pack, read from its file's bytes: the strings SoundsList
// would answer and where each clip's bytes lie in the file.
struct PackedUnit {
  struct Clip {
    std::string name;
    std::string caption;
    uint64_t offset = 0;  // from the start of the file
    uint64_t size = 0;
  };
  std::string header;
  std::vector<Clip> clips;
};

// Whether the file ends in the packer's trailer, which makes it a packed unit.
bool HasPackTrailer(std::span<const uint8_t> file);

// The packed unit in `file`, checked whole: every length within its limit and every
// clip within the payload. Nothing, and `why`, when any of it does not hold.
std::optional<PackedUnit> ParsePackedUnit(std::span<const uint8_t> file, std::string* why);

}  // namespace platform
