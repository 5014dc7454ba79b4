#pragma once

#include <string>

namespace ini {
class TBigIniFile;
}

// Names, keys and defaults of the three settings files in the application folder.
namespace settings {

inline constexpr const char* kJbwIni = "JBW.ini";
inline constexpr const char* kExternalIni = "External.ini";
inline constexpr const char* kBsusIni = "BSUs.ini";

inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kBsuList = "BSU-List";
inline constexpr const char* kSoundList = "Sound-List";
inline constexpr const char* kSoundMenu = "Sound-Menu";

inline constexpr const char* kNumberOfBsus = "NumberOfBSUs";
inline constexpr const char* kNumberOfSounds = "NumberOfSounds";
inline constexpr const char* kLastDir = "LastDir";
inline constexpr const char* kSetTimer = "SetTimer";
inline constexpr const char* kSetCustom = "SetCustom";

inline constexpr const char* kDefaultCount = "0";
inline constexpr const char* kDefaultLastDir = ".\\Wavs";
inline constexpr const char* kDefaultSetTimer = "Off";
inline constexpr const char* kDefaultSetCustom = "3";

inline constexpr int kUnitSlotLimit = 3;
inline constexpr int kExternalSlotLimit = 10;

// Full path of a settings file as the INI engine opens it, cut to its length limit; the
// application folder ends with its separator. A folder too long to hold the file raises.
std::string SettingsPath(const std::string& appFolder, const char* fileName);

// The test that decides whether a file is read or created with its default content.
bool SettingsFileExists(const std::string& path);

// Default content, written in this order into an object that starts empty.
void WriteDefaultBsus(ini::TBigIniFile& ini);
void WriteDefaultExternal(ini::TBigIniFile& ini, const std::string& appFolder);
void WriteDefaultJbw(ini::TBigIniFile& ini);

// Creates the file with its default content (the object's release writes it).
void CreateDefaultBsus(const std::string& appFolder);
void CreateDefaultExternal(const std::string& appFolder);
void CreateDefaultJbw(const std::string& appFolder);

}  // namespace settings
