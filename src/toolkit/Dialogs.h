#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tk {

// One entry of a file dialog's filter: "Sound File (*.wav)" with "*.wav". Patterns are
// separated by ";" or blanks, e.g. "*.BSU;*.bsu".
struct TFileFilter {
  std::string Description;
  std::string Patterns;
};

struct TOpenDialogOptions {
  std::string Title;
  std::vector<TFileFilter> Filters;
  std::string InitialDir;  // a relative folder is taken from the current folder
  std::string FileName;
  // When false, a choice moves the process's current folder to the chosen file's folder.
  bool RestoreCurrentDir = true;
  bool PathMustExist = true;
  bool FileMustExist = true;
};

// Builds the filters from the toolkit's filter string "Description|patterns|...".
std::vector<TFileFilter> ParseFilter(const std::string& filter);

// The program's modal boxes and the file-open dialog. Tests install a scripted one.
class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // The confirmation box: true on Yes.
  virtual bool Confirm(const std::string& question) = 0;
  // The information box.
  virtual void Inform(const std::string& message) = 0;
  // The error box of the default error handler, titled with the application title.
  virtual void ShowError(const std::string& text) = 0;
  // The chosen file's full path, or nothing when cancelled.
  virtual std::optional<std::string> OpenFile(const TOpenDialogOptions& options) = 0;
};

// The text a message box shows for `text`: "&&" shows as "&", a single "&" marks the
// next letter and is not shown.
std::string ShownText(const std::string& text);

// The folder part of a path, without its trailing separator ("" when there is none).
std::string FolderOf(const std::string& path);

// The dialogs in use: the Qt boxes unless a test installed others.
IDialogs& Dialogs();
// Installs `dialogs` (null restores the Qt boxes); returns the ones it replaces.
IDialogs* SetDialogs(IDialogs* dialogs);

}  // namespace tk
