#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

struct UnitImage;  // a sound unit read as data (platform/linux/unitreader)

// A loaded module as the program sees it: the loader's handle and the path it was
// loaded from, or, for a sound unit loaded as data, its image and no handle.
struct Module {
  void* handle = nullptr;
  std::string path;
  std::shared_ptr<const UnitImage> image;
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

constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x2;

// With LOAD_LIBRARY_AS_DATAFILE (the only flag served): reads a sound unit without
// running any of its code in this process. A unit made by jbw-unit-pack is read as
// data; any other runs only in the confined unit reader (jbw-unit-reader, next to the
// executable or named by JBW_UNIT_READER), which is killed after a few seconds and
// whose answer is checked whole. The clips are served by FindModuleResource from
// read-only mappings of the unit file (or of a sealed memory file); GetProcAddress
// finds nothing. A unit is read again only when its file changed (device, inode,
// size or modification time). nullptr, with LastModuleError, when it cannot be read.
HMODULE LoadLibraryExA(const char* path, void* file, DWORD flags);

// What a unit's SoundsList answered: 0 (the header), then 1 to NumberofSounds.
struct SoundUnitStrings {
  std::string header;
  std::vector<std::string> clips;
};

// The strings of a unit loaded with LOAD_LIBRARY_AS_DATAFILE; nullptr for any other.
const SoundUnitStrings* GetSoundUnitStrings(HMODULE module);

// Releases a module from LoadLibraryA or LoadLibraryExA. FALSE for nullptr.
BOOL FreeLibrary(HMODULE module);

// Why the last LoadLibraryA or LoadLibraryExA on this thread failed; empty after a success.
const std::string& LastModuleError();

}  // namespace platform
