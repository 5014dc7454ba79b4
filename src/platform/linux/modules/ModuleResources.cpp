#include "platform/ModuleResources.h"

#include <cstring>

#include "jbw/SoundUnitAbi.h"
#include "platform/DynamicModule.h"
#include "platform/linux/unitreader/UnitImage.h"

namespace platform {

namespace {

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares a trusted NUL-terminated `wanted` with a module's string, reading no
// further into the module's string than one character past `wanted`'s length.
bool SameIgnoringCase(const char* wanted, const char* theirs) {
  for (size_t i = 0;; ++i) {
    if (AsciiLower(wanted[i]) != AsciiLower(theirs[i])) return false;
    if (wanted[i] == '\0') return true;
  }
}

}  // namespace

std::optional<std::span<const uint8_t>> FindModuleResource(HMODULE module, const char* name,
                                                           const char* type) {
  if (!module || !name || !type || !*name) return std::nullopt;
  if (std::strlen(name) > kMaxResourceNameLength) return std::nullopt;
  // A unit read as data holds its clips, and no code to ask.
  if (module->image)
    return SameIgnoringCase(type, "WAVE") ? module->image->Find(name) : std::nullopt;
  auto table =
      reinterpret_cast<JbwResourceTableFn>(GetProcAddress(module, JBW_EXPORT_RESOURCE_TABLE));
  if (!table) return std::nullopt;

  int32_t count = 0;
  const JbwResource* entries = table(&count);
  if (!entries || count <= 0) return std::nullopt;
  if (count > kMaxModuleResources) count = kMaxModuleResources;

  for (int32_t i = 0; i < count; ++i) {
    const JbwResource& r = entries[i];
    if (!r.name) break;  // the end marker, which guards against counts that lie
    if (!r.type || !r.data || r.size == 0 || r.size > kMaxResourceBytes) continue;
    if (SameIgnoringCase(name, r.name) && SameIgnoringCase(type, r.type))
      return std::span<const uint8_t>(static_cast<const uint8_t*>(r.data),
                                      static_cast<size_t>(r.size));
  }
  return std::nullopt;
}

}  // namespace platform
