#include "settings/SettingsFiles.h"

#include <sys/stat.h>

#include "ini/BigIni.h"
#include "ini/IniText.h"
#include "rtl/RuntimeErrors.h"

namespace settings {

std::string SettingsPath(const std::string& appFolder, const char* fileName) {
  // The engine keeps a file name's first 255 characters. A folder that leaves no room for
  // the file's own name would send all three files to one name outside it.
  if (appFolder.size() >= ini::kMaxText) {
    throw rtl::Exception(
        "The program's folder name is too long for its settings files: move "
        "the program to a folder whose full name has fewer than " +
        std::to_string(ini::kMaxText) + " characters.");
  }
  return std::string(ini::Cut(appFolder + fileName));
}

bool SettingsFileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

void WriteDefaultBsus(ini::TBigIniFile& ini) {
  ini.WriteString(kSettings, kNumberOfBsus, "0");
}

void WriteDefaultExternal(ini::TBigIniFile& ini, const std::string& appFolder) {
  ini.WriteString(kSettings, kNumberOfSounds, "0");
  ini.WriteString(kSettings, kLastDir, appFolder + "Wavs");
}

void WriteDefaultJbw(ini::TBigIniFile& ini) {
  ini.WriteString(kSettings, kSetTimer, "Off");
  ini.WriteString(kSettings, kSetCustom, "3");
}

void CreateDefaultBsus(const std::string& appFolder) {
  ini::TBiggerIniFile ini(SettingsPath(appFolder, kBsusIni));
  WriteDefaultBsus(ini);
}

void CreateDefaultExternal(const std::string& appFolder) {
  ini::TBiggerIniFile ini(SettingsPath(appFolder, kExternalIni));
  WriteDefaultExternal(ini, appFolder);
}

void CreateDefaultJbw(const std::string& appFolder) {
  ini::TBiggerIniFile ini(SettingsPath(appFolder, kJbwIni));
  WriteDefaultJbw(ini);
}

}  // namespace settings
