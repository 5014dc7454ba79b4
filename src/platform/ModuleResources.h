#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/WinTypes.h"

namespace platform {

// Upper bounds on what a module's resource table may claim; entries beyond them are
// ignored rather than trusted.
constexpr int32_t kMaxModuleResources = 65536;
constexpr uint64_t kMaxResourceBytes = uint64_t{256} << 20;
constexpr size_t kMaxResourceNameLength = 1024;

// Finds a resource of a loaded module by name and type, both compared ignoring
// ASCII letter case. The bytes belong to the module and stay valid until it is
// released. Modules without a resource table, or with a damaged one, have none.
std::optional<std::span<const uint8_t>> FindModuleResource(HMODULE module, const char* name,
                                                           const char* type);

inline std::optional<std::span<const uint8_t>> FindWaveResource(HMODULE module, const char* name) {
  return FindModuleResource(module, name, "WAVE");
}

}  // namespace platform
