#pragma once

#include <optional>
#include <string>

// The text forms of sound-list entries and of the strings a sound unit returns.
namespace sounds {

inline constexpr const char* kUnitPrefix = "DLL|";
inline constexpr const char* kExternalPrefix = "EXT|";
// Entries are short strings in the settings files' world.
inline constexpr std::size_t kMaxExternalEntry = 255;

struct NameAndCaption {
  std::string name;
  std::string caption;
};

// Splits at the last ":"; without one the name is empty and the whole text is the caption.
NameAndCaption SplitAtLastColon(const std::string& text);

// A unit's identifier as it may appear in a menu item name: every character other than
// a letter, a digit or "_" becomes "_".
std::string MenuIdentifier(const std::string& identifier);

std::string UnitEntry(const std::string& resourceName, int unitIndex);
std::string ExternalEntry(const std::string& path);

// Unit clips are told apart by their first three characters alone.
bool IsUnitEntry(const std::string& entry);
// What follows "EXT|".
std::string ExternalPath(const std::string& entry);

struct UnitClip {
  std::string resourceName;
  int unitIndex = 0;
};
// "DLL|name|u": the name up to the first "|" after the prefix, then the unit index;
// nothing when the index is not a number.
std::optional<UnitClip> ParseUnitEntry(const std::string& entry);

}  // namespace sounds
