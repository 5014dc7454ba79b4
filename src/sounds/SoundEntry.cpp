#include "sounds/SoundEntry.h"

#include "rtl/StrToInt.h"

namespace sounds {

NameAndCaption SplitAtLastColon(const std::string& text) {
  const auto k = text.rfind(':');
  if (k == std::string::npos) return {"", text};
  return {text.substr(0, k), text.substr(k + 1)};
}

std::string MenuIdentifier(const std::string& identifier) {
  std::string name = identifier;
  for (char& c : name) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && c != '_') c = '_';
  }
  return name;
}

std::string UnitEntry(const std::string& resourceName, int unitIndex) {
  return kUnitPrefix + resourceName + "|" + std::to_string(unitIndex);
}

std::string ExternalEntry(const std::string& path) {
  std::string entry = kExternalPrefix + path;
  if (entry.size() > kMaxExternalEntry) entry.resize(kMaxExternalEntry);
  return entry;
}

bool IsUnitEntry(const std::string& entry) {
  return entry.compare(0, 3, "DLL") == 0;
}

std::string ExternalPath(const std::string& entry) {
  return entry.size() > 4 ? entry.substr(4) : std::string();
}

std::optional<UnitClip> ParseUnitEntry(const std::string& entry) {
  if (entry.size() < 4) return std::nullopt;
  const std::string rest = entry.substr(4);
  const auto bar = rest.find('|');
  if (bar == std::string::npos) return std::nullopt;
  const auto index = rtl::TryStrToInt(std::string_view(rest).substr(bar + 1));
  if (!index) return std::nullopt;
  return UnitClip{rest.substr(0, bar), *index};
}

}  // namespace sounds
