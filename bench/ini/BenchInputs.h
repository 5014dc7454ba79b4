#pragma once

#include <cstddef>
#include <string>

namespace bench {

// The generated input files, made once in a temporary folder that is removed at exit.
struct Input {
  std::string path;
  size_t bytes;
};

// kLargeDuplicate is the large file with one section name again at its end.
enum InputSize { kSmall = 0, kMedium = 1, kLarge = 2, kLargeDuplicate = 3 };

const Input& InputFile(int size);

// Names that the small file holds, for the settings access pattern.
inline constexpr const char* kSection = "Settings";
inline constexpr const char* kKeys[3] = {"NumberOfSounds", "LastDir", "SetTimer"};

}  // namespace bench
