#pragma once

#include <string>

namespace editors {

// A stored starting folder as the file dialog takes it: a leading ".\" (the way the
// default folders are written) means the current folder.
std::string DialogFolder(const std::string& stored);

}  // namespace editors
