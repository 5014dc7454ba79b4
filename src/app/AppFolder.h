#pragma once

#include <string>

namespace app {

// The folder of the program's executable, ending with the path separator.
std::string ApplicationFolder();

// For tests: the folder ApplicationFolder gives instead (empty restores the real one).
void SetApplicationFolderForTests(const std::string& folder);

}  // namespace app
