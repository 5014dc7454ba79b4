#include "platform/Registry.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>

#include "ini/BigIni.h"

namespace platform {

namespace {

struct OpenKey {
  std::string path;  // without leading backslash
  std::unique_ptr<ini::TBiggerIniFile> file;
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

bool HasSection(ini::TBiggerIniFile& file, const std::string& section) {
  return file.FindSectionAndKey(section, "", false).lines != nullptr;
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

  try {
    const std::string fileName = RegistryFileName();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) return ERROR_FILE_NOT_FOUND;
    auto file = std::make_unique<ini::TBiggerIniFile>(fileName);
    if (!HasSection(*file, path)) return ERROR_FILE_NOT_FOUND;
    *result = nextKey;
    nextKey += 4;
    Keys().emplace(*result, OpenKey{path, std::move(file)});
    return ERROR_SUCCESS;
  } catch (const std::exception&) {
    return ERROR_ACCESS_DENIED;
  }
}

LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
  auto it = Keys().find(key);
  if (it == Keys().end()) return ERROR_INVALID_HANDLE;
  OpenKey& open = it->second;
  const std::string name = valueName ? valueName : "";
  std::string value;
  try {
    if (open.file->FindSectionAndKey(open.path, name, false).line < 0) return ERROR_FILE_NOT_FOUND;
    value = open.file->ReadString(open.path, name, "");
  } catch (const std::exception&) {
    return ERROR_ACCESS_DENIED;
  }
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
  try {
    return Keys().erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
  } catch (const std::exception&) {
    return ERROR_SUCCESS;  // nothing was written, so there is nothing to lose
  }
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
