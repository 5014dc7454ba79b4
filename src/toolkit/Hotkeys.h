#pragma once

#include <string>

namespace tk {

// The caption as shown: "&&" becomes "&" and a single "&", which marks the access key,
// is not shown.
std::string StripHotkey(const std::string& caption);
// The access key a caption marks with "&", or '\0' when it has none.
char HotkeyOf(const std::string& caption);

}  // namespace tk
