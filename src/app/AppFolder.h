#pragma once

#include <string>

namespace app {

// The folder of the program's executable, ending with the path separator.
std::string ApplicationFolder();

}  // namespace app
