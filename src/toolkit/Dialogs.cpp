#include "toolkit/Dialogs.h"

#include "toolkit/Hotkeys.h"
#include "toolkit/QtDialogs.h"

namespace tk {

namespace {

IDialogs*& Installed() {
  static IDialogs* installed = nullptr;
  return installed;
}

}  // namespace

std::vector<TFileFilter> ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t bar = filter.find('|', start);
    if (bar == std::string::npos) bar = filter.size();
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<TFileFilter> filters;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) filters.push_back({parts[i], parts[i + 1]});
  return filters;
}

std::string ShownText(const std::string& text) {
  return StripHotkey(text);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

IDialogs& Dialogs() {
  static TQtDialogs qtDialogs;
  return Installed() ? *Installed() : qtDialogs;
}

IDialogs* SetDialogs(IDialogs* dialogs) {
  IDialogs* previous = Installed();
  Installed() = dialogs;
  return previous;
}

}  // namespace tk
