#pragma once

#include <string>

namespace editors {

// Whether the file reads as a sound unit with its two exports; its code never runs in
// this process.
bool IsSoundUnit(const std::string& path);

}  // namespace editors
