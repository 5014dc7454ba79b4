#include "support/ScriptedDialogs.h"

#include <filesystem>

#include "toolkit/Application.h"

namespace tk {

ScriptedDialogs::ScriptedDialogs() : previous_(SetDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs() {
  SetDialogs(previous_);
}

std::vector<std::string> ScriptedDialogs::Texts(Kind kind) const {
  std::vector<std::string> texts;
  for (const Call& call : calls) {
    if (call.kind == kind) texts.push_back(call.text);
  }
  return texts;
}

bool ScriptedDialogs::Confirm(const std::string& question) {
  calls.push_back({Kind::Confirm, "Confirm", question, ShownText(question), {}});
  if (confirmAnswers.empty()) return false;
  const bool answer = confirmAnswers.front();
  confirmAnswers.pop_front();
  return answer;
}

void ScriptedDialogs::Inform(const std::string& message) {
  calls.push_back({Kind::Inform, "Information", message, ShownText(message), {}});
}

void ScriptedDialogs::ShowError(const std::string& text) {
  calls.push_back({Kind::Error, Application().Title(), text, text, {}});
}

std::optional<std::string> ScriptedDialogs::OpenFile(const TOpenDialogOptions& options) {
  calls.push_back({Kind::OpenFile, options.Title, "", "", options});
  if (openFileAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = openFileAnswers.front();
  openFileAnswers.pop_front();
  // Same contract as the real dialog: an unrestored choice moves the current folder.
  if (answer && !options.RestoreCurrentDir && !FolderOf(*answer).empty()) {
    std::error_code ignored;
    std::filesystem::current_path(FolderOf(*answer), ignored);
  }
  return answer;
}

}  // namespace tk
