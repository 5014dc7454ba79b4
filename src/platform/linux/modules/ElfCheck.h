#pragma once

#include <string>

namespace platform {

// Whether the open file is an ELF shared object for the running architecture whose
// program headers and segments all lie within the file. dlopen maps a short file
// without complaint and the process dies of SIGBUS on first touch, so every module
// passes this before it is loaded. On failure `why` says what is wrong.
bool IsLoadableSharedObject(int fd, std::string* why = nullptr);

}  // namespace platform
