#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Dialogs.h"

namespace tk {

// Dialogs for tests: answers come from queues and every call is logged. While it lives
// it is the program's dialogs; the previous ones come back when it is destroyed.
class ScriptedDialogs : public IDialogs {
 public:
  enum class Kind { Confirm, Inform, Error, OpenFile };
  struct Call {
    Kind kind;
    std::string title;
    std::string text;            // as the program passed it
    std::string shown;           // as the box shows it
    TOpenDialogOptions options;  // OpenFile only
  };

  ScriptedDialogs();
  ~ScriptedDialogs() override;
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

  // Answers in order; an empty queue answers No, or cancels the file dialog.
  std::deque<bool> confirmAnswers;
  std::deque<std::optional<std::string>> openFileAnswers;
  std::vector<Call> calls;

  // The texts as given of the calls of one kind, in order.
  std::vector<std::string> Texts(Kind kind) const;
  // The most recent call, or null.
  const Call* Last() const { return calls.empty() ? nullptr : &calls.back(); }

  bool Confirm(const std::string& question) override;
  void Inform(const std::string& message) override;
  void ShowError(const std::string& text) override;
  std::optional<std::string> OpenFile(const TOpenDialogOptions& options) override;

 private:
  IDialogs* previous_;
};

}  // namespace tk
