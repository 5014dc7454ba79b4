#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/DynamicModule.h"

namespace platform {

// A file mapped read-only, or nothing; unmapped with the object.
class ReadOnlyMapping {
 public:
  ReadOnlyMapping() = default;
  // The first `size` bytes of the open file; empty when they cannot be mapped.
  static ReadOnlyMapping Map(int fd, uint64_t size);
  ~ReadOnlyMapping();
  ReadOnlyMapping(ReadOnlyMapping&& other) noexcept;
  ReadOnlyMapping& operator=(ReadOnlyMapping&& other) noexcept;

  std::span<const uint8_t> Bytes() const { return {static_cast<const uint8_t*>(at_), size_}; }
  bool Mapped() const { return at_ != nullptr; }

 private:
  void* at_ = nullptr;
  size_t size_ = 0;
};

// A sound unit read as data: its strings and its clips' bytes, which point into the
// read-only mappings it holds. Never changed once made, so threads share it freely.
struct UnitImage {
  struct Resource {
    std::string name;
    std::span<const uint8_t> bytes;
  };
  SoundUnitStrings strings;
  std::vector<Resource> resources;  // WAVE clips, in the unit's order
  ReadOnlyMapping file;             // the unit file
  ReadOnlyMapping memory;           // clips the reader copied out (a sealed memory file)

  // The first clip of that name, letter case ignored.
  std::optional<std::span<const uint8_t>> Find(const char* name) const;
};

}  // namespace platform
