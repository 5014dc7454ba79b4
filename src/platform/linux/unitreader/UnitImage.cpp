#include "platform/linux/unitreader/UnitImage.h"

#include <sys/mman.h>

#include <utility>

#include "platform/linux/unitreader/ClipNames.h"

namespace platform {

ReadOnlyMapping ReadOnlyMapping::Map(int fd, uint64_t size) {
  ReadOnlyMapping mapping;
  if (size == 0 || size > SIZE_MAX) return mapping;
  void* at = mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
  if (at == MAP_FAILED) return mapping;
  mapping.at_ = at;
  mapping.size_ = static_cast<size_t>(size);
  return mapping;
}

ReadOnlyMapping::~ReadOnlyMapping() {
  if (at_) munmap(at_, size_);
}

ReadOnlyMapping::ReadOnlyMapping(ReadOnlyMapping&& other) noexcept
    : at_(std::exchange(other.at_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ReadOnlyMapping& ReadOnlyMapping::operator=(ReadOnlyMapping&& other) noexcept {
  std::swap(at_, other.at_);
  std::swap(size_, other.size_);
  return *this;
}

std::optional<std::span<const uint8_t>> UnitImage::Find(const char* name) const {
  for (const auto& r : resources)
    if (SameNameIgnoringCase(r.name, name)) return r.bytes;
  return std::nullopt;
}

}  // namespace platform
