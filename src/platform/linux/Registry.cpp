#include "platform/Registry.h"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

namespace platform {

namespace {

struct OpenKey {
  std::string path;                // without leading backslash
  std::vector<std::string> lines;  // the key's section, as name=value lines
};

std::map<HKEY, OpenKey>& Keys() {
  static std::map<HKEY, OpenKey> keys;
  return keys;
}

HKEY nextKey = 0x30000;

std::string StripBackslashes(const char* text) {
  std::string path = text ? text : "";
  const auto first = path.find_first_not_of('\\');
  path.erase(0, first == std::string::npos ? path.size() : first);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Key and value names ignore letter case, as the registry's do.
bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The file is typed by hand, so a line may end in LF, CR LF or CR.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// The lines of the first section named `path`; none when the file or section is missing.
std::optional<std::vector<std::string>> ReadSection(const std::string& fileName,
                                                    const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return std::nullopt;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::optional<std::vector<std::string>> section;
  for (const std::string& line : Lines(text)) {
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      if (section) break;
      if (SameName(line.substr(1, line.size() - 2), path)) section.emplace();
    } else if (section) {
      section->push_back(line);
    }
  }
  return section;
}

}  // namespace

std::string RegistryFileName() {
  const char* name = std::getenv("JBW_REGISTRY_FILE");
  return name && *name ? name : kDefaultRegistryFile;
}

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM, HKEY* result) {
  if (!result) return ERROR_INVALID_HANDLE;
  *result = 0;
  std::string path;
  if (key != HKEY_LOCAL_MACHINE) {
    auto parent = Keys().find(key);
    if (parent == Keys().end()) return ERROR_INVALID_HANDLE;
    path = parent->second.path;
  }
  const std::string sub = StripBackslashes(subKey);
  if (!sub.empty()) path = path.empty() ? sub : path + '\\' + sub;

  auto lines = ReadSection(RegistryFileName(), path);
  if (!lines) return ERROR_FILE_NOT_FOUND;
  *result = nextKey;
  nextKey += 4;
  Keys().emplace(*result, OpenKey{path, std::move(*lines)});
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
  auto it = Keys().find(key);
  if (it == Keys().end()) return ERROR_INVALID_HANDLE;
  OpenKey& open = it->second;
  const std::string name = valueName ? valueName : "";
  const auto line = std::find_if(open.lines.begin(), open.lines.end(), [&](const std::string& l) {
    const size_t equals = l.find('=');
    return equals != std::string::npos && SameName(l.substr(0, equals), name);
  });
  if (line == open.lines.end()) return ERROR_FILE_NOT_FOUND;
  const std::string value = line->substr(line->find('=') + 1);
  if (type) *type = REG_SZ;
  const auto needed = static_cast<DWORD>(value.size() + 1);
  if (!dataSize) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  if (!data) {
    *dataSize = needed;
    return ERROR_SUCCESS;
  }
  if (*dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, value.c_str(), needed);
  *dataSize = needed;
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  return Keys().erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::string ReadRegistryString(HKEY root, const std::string& subKey, const std::string& valueName) {
  HKEY key = 0;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  std::string value;
  DWORD size = 0;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
      size > 0) {
    std::string buffer(size, '\0');
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS) {
      value.assign(buffer.c_str());
    }
  }
  RegCloseKey(key);
  return value;
}

}  // namespace platform
