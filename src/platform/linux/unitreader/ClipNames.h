#pragma once

#include <string>
#include <string_view>

namespace platform {

// Resource names are matched ignoring ASCII letter case, whatever the locale.
inline bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// A clip string's resource name: the text before its last ":", empty without one.
inline std::string ResourceNameOf(const std::string& clip) {
  const size_t colon = clip.rfind(':');
  return colon == std::string::npos ? std::string() : clip.substr(0, colon);
}

}  // namespace platform
