#pragma once

#include "toolkit/Dialogs.h"

namespace tk {

// The real boxes: modal Qt message boxes centred on the screen and the Qt file dialog.
class TQtDialogs : public IDialogs {
 public:
  bool Confirm(const std::string& question) override;
  void Inform(const std::string& message) override;
  void ShowError(const std::string& text) override;
  std::optional<std::string> OpenFile(const TOpenDialogOptions& options) override;
};

}  // namespace tk
