#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>

#include "editors/EditorContext.h"
#include "editors/StringGrid.h"
#include "support/QtTestApp.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"

// An application folder of its own, scripted boxes and dialogs, and a context whose
// callbacks count their calls. The current folder is put back after each test.
class EditorFixture : public ::testing::Test {
 protected:
  EditorFixture() : startDir_(std::filesystem::current_path()) {
    EnsureToolkitApp();
    state.appFolder = app.Path();
    context.state = &state;
    context.readSettings = [this](tk::TComponent*) {
      ++readSettingsCalls;
      if (readSettingsFails) readSettingsFails();
    };
    context.showConfig = [this] { ++showConfigCalls; };
  }
  ~EditorFixture() override { std::filesystem::current_path(startDir_); }

  using Kind = tk::ScriptedDialogs::Kind;

  std::vector<std::string> Informs() const { return dialogs.Texts(Kind::Inform); }
  std::vector<std::string> Confirms() const { return dialogs.Texts(Kind::Confirm); }
  std::vector<std::string> Errors() const { return dialogs.Texts(Kind::Error); }

  // Writes a settings file given with "\n" line ends in the file format's CR LF.
  void WriteIni(const std::string& name, const std::string& text) const {
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    app.Write(name, crlf);
  }

  // Column `col` of the data rows.
  static std::vector<std::string> Column(const editors::TStringGrid& grid, int col) {
    std::vector<std::string> cells;
    for (int r = 1; r < grid.RowCount(); ++r) cells.push_back(grid.Cell(col, r));
    return cells;
  }

  TempFolder app;
  settings::SharedState state;
  editors::TEditorContext context;
  tk::ScriptedDialogs dialogs;
  int readSettingsCalls = 0;
  int showConfigCalls = 0;
  std::function<void()> readSettingsFails;

 private:
  std::filesystem::path startDir_;
};
