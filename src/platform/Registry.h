#pragma once

#include <string>

#include "platform/WinTypes.h"

// The local machine's registry, read-only, kept in a text file: /etc/jabberwell/registry.ini
// unless JBW_REGISTRY_FILE names another. Its sections are key paths without the leading
// backslash ([Software\Grindlewood]) and its lines are name=value string values. Reading
// never raises: a missing or unreadable file, key or value is simply not found.
namespace platform {

using HKEY = uintptr_t;
using LONG = int32_t;
using BYTE = unsigned char;
using REGSAM = DWORD;

inline const HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr REGSAM KEY_READ = 0x20019;
constexpr DWORD REG_SZ = 1;
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;

constexpr char kDefaultRegistryFile[] = "/etc/jabberwell/registry.ini";
std::string RegistryFileName();

// Opens an existing key below HKEY_LOCAL_MACHINE (or below a key opened before).
LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM desired, HKEY* result);
// A string value, zero-terminated. With data 0 only the size is returned; a buffer that
// is too small gives ERROR_MORE_DATA and the size needed.
LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* dataSize);
LONG RegCloseKey(HKEY key);

// Open, read a string value, close: "" when anything is missing.
std::string ReadRegistryString(HKEY root, const std::string& subKey, const std::string& valueName);

}  // namespace platform
