#pragma once

#include <string>

// The sound output device chosen with `jabberwell --output-device NAME`, kept in JBW.ini
// under its own section. The section is written only once a device is chosen, so files
// of users who never choose one stay as they were.
namespace settings {

inline constexpr const char* kOutput = "Output";
inline constexpr const char* kDevice = "Device";

// Empty when none is chosen or JBW.ini does not exist yet.
std::string ReadOutputDevice(const std::string& appFolder);

// An empty name goes back to the default device and removes the key. A JBW.ini that
// does not exist yet is created with its default content first.
void SaveOutputDevice(const std::string& appFolder, const std::string& name);

}  // namespace settings
