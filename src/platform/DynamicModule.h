#pragma once

#include <string>

#include "platform/WinTypes.h"

namespace platform {

// A loaded module as the program sees it: the loader's handle and the path it was
// loaded from.
struct Module {
  void* handle = nullptr;
  std::string path;
};

using FARPROC = void (*)();

// Loads a module by path (a bare file name is taken from the current folder, never
// searched for on the library path). The file must be a complete ELF shared object
// for this machine; anything else fails with nullptr instead of crashing the process.
// Safe on any thread; loads of the same file share one image, counted by the loader.
//
// A loaded module's file stays mapped: replace a unit by writing the new file under
// another name and renaming it over the old one, never by writing into the file in
// place, or a process that has it loaded may die of SIGBUS.
HMODULE LoadLibraryA(const char* path);

// The address of an export, by exact name; nullptr when absent.
FARPROC GetProcAddress(HMODULE module, const char* name);

// Releases a module from LoadLibraryA. FALSE for nullptr.
BOOL FreeLibrary(HMODULE module);

// Why the last LoadLibraryA on this thread failed; empty after a success.
const std::string& LastModuleError();

}  // namespace platform
