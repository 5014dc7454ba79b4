#include "settings/Microphone.h"

#include <exception>

#include "ini/BigIni.h"
#include "settings/OutputDevice.h"
#include "settings/SettingsFiles.h"

namespace settings {

namespace {

void SaveFlag(const std::string& appFolder, const char* key, bool on) {
  const std::string path = SettingsPath(appFolder, kJbwIni);
  if (!SettingsFileExists(path)) CreateDefaultJbw(appFolder);
  ini::TBiggerIniFile ini(path);
  ini.WriteBool(kOutput, key, on);
}

}  // namespace

MicrophoneSetting ReadMicrophone(const std::string& appFolder) {
  MicrophoneSetting setting;
  const std::string path = SettingsPath(appFolder, kJbwIni);
  if (!SettingsFileExists(path)) return setting;
  // As for the output device: a JBW.ini that cannot be read means the defaults, and the
  // timer's restore reports the file.
  try {
    ini::TBiggerIniFile ini(path);
    setting.on = ini.ReadBool(kOutput, kMicrophone, setting.on);
    setting.passthrough = ini.ReadBool(kOutput, kMicPassthrough, setting.passthrough);
  } catch (const std::exception&) {
    return {};
  }
  return setting;
}

void SaveMicrophone(const std::string& appFolder, bool on) {
  SaveFlag(appFolder, kMicrophone, on);
}

void SaveMicPassthrough(const std::string& appFolder, bool on) {
  SaveFlag(appFolder, kMicPassthrough, on);
}

}  // namespace settings
