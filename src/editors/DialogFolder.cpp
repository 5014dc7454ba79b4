#include "editors/DialogFolder.h"

namespace editors {

std::string DialogFolder(const std::string& stored) {
  if (stored.rfind(".\\", 0) == 0) return "./" + stored.substr(2);
  return stored;
}

}  // namespace editors
