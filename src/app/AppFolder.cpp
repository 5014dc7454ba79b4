#include "app/AppFolder.h"

#include <unistd.h>

#include <climits>

namespace app {

namespace {

std::string& TestFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

std::string ApplicationFolder() {
  if (!TestFolder().empty()) return TestFolder();
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  std::string path(buffer, static_cast<size_t>(n));
  return path.substr(0, path.rfind('/') + 1);
}

void SetApplicationFolderForTests(const std::string& folder) {
  TestFolder() = folder;
}

}  // namespace app
