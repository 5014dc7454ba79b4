#include "settings/NumberedList.h"

#include <algorithm>

#include "ini/BigIni.h"
#include "rtl/StrToInt.h"
#include "settings/SettingsFiles.h"

namespace settings {

int ListLength(ini::TBigIniFile& ini, const char* countKey, int slotLimit) {
  const int count = rtl::StrToInt(ini.ReadString(kSettings, countKey, kDefaultCount));
  return count <= 0 ? 0 : std::min(count, slotLimit);
}

std::vector<std::string> ReadUnitList(ini::TBigIniFile& ini, int slotLimit) {
  const int n = ListLength(ini, kNumberOfBsus, slotLimit);
  std::vector<std::string> units;
  units.reserve(n);
  for (int i = 1; i <= n; ++i) units.push_back(ini.ReadString(kBsuList, std::to_string(i), ""));
  return units;
}

std::vector<ExternalSound> ReadExternalList(ini::TBigIniFile& ini, int slotLimit) {
  const int n = ListLength(ini, kNumberOfSounds, slotLimit);
  std::vector<ExternalSound> sounds;
  sounds.reserve(n);
  for (int i = 1; i <= n; ++i) {
    const std::string key = std::to_string(i);
    ExternalSound s;
    s.path = ini.ReadString(kSoundList, key, "");
    s.caption = ini.ReadString(kSoundMenu, key, "");
    sounds.push_back(std::move(s));
  }
  return sounds;
}

}  // namespace settings
