#pragma once

#include <string>

namespace editors {

// Whether the file loads as a module with the two exports of a sound unit.
bool IsSoundUnit(const std::string& path);

}  // namespace editors
