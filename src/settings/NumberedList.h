#pragma once

#include <string>
#include <vector>

namespace ini {
class TBigIniFile;
}

namespace settings {

struct ExternalSound {
  std::string path;
  std::string caption;
};

// How many numbered entries a list holds: the count key converted (a text that is not a
// whole number raises the conversion error), 0 when it is 0 or less, at most the limit.
int ListLength(ini::TBigIniFile& ini, const char* countKey, int slotLimit);

// Keys "1".."n" of "BSU-List"; a missing key yields an empty entry.
std::vector<std::string> ReadUnitList(ini::TBigIniFile& ini, int slotLimit);

// Keys "1".."n" of "Sound-List" and "Sound-Menu", entry i of both before entry i + 1.
std::vector<ExternalSound> ReadExternalList(ini::TBigIniFile& ini, int slotLimit);

}  // namespace settings
