#include "settings/OutputDevice.h"

#include <exception>

#include "ini/BigIni.h"
#include "settings/SettingsFiles.h"

namespace settings {

std::string ReadOutputDevice(const std::string& appFolder) {
  const std::string path = SettingsPath(appFolder, kJbwIni);
  if (!SettingsFileExists(path)) return {};
  // A JBW.ini that cannot be read means the default device; the timer's restore
  // reports the file.
  try {
    ini::TBiggerIniFile ini(path);
    return ini.ReadString(kOutput, kDevice, "");
  } catch (const std::exception&) {
    return {};
  }
}

void SaveOutputDevice(const std::string& appFolder, const std::string& name) {
  const std::string path = SettingsPath(appFolder, kJbwIni);
  if (!SettingsFileExists(path)) CreateDefaultJbw(appFolder);
  ini::TBiggerIniFile ini(path);
  // Only the key goes: the section holds the microphone's keys too, and is left out of
  // the file once empty.
  if (name.empty()) {
    ini.DeleteKey(kOutput, kDevice);
  } else {
    ini.WriteString(kOutput, kDevice, name);
  }
}

}  // namespace settings
