#pragma once

#include <functional>

#include "settings/SharedState.h"

namespace tk {
class TComponent;
}

namespace editors {

// What an editor needs from the configuration window, which wires it: the shared state
// (application folder, slot limits), the catalogue rebuild after a save, and the way
// back to the configuration window.
struct TEditorContext {
  settings::SharedState* state = nullptr;
  std::function<void(tk::TComponent* sender)> readSettings;
  std::function<void()> showConfig;
};

}  // namespace editors
