#include "editors/DLLs.h"

#include <string>

#include "editors/DialogFolder.h"
#include "editors/StringGrid.h"
#include "editors/UnitCheck.h"
#include "ini/BigIni.h"
#include "settings/NumberedList.h"
#include "settings/SettingsFiles.h"
#include "toolkit/OneLine.h"

namespace editors {

namespace {

constexpr int kPathCol = 1;
constexpr const char* kUnitFolder = ".\\BSUs";

}  // namespace

int TFormDLLs::SlotLimit() const {
  return context_.state->unitSlotLimit;
}

void TFormDLLs::FormShow() {
  const int limit = SlotLimit();
  StringGrid->SetDimensions(2, limit + 1);
  StringGrid->SetColWidths({25, 450});
  StringGrid->SetCell(0, 0, "#");
  StringGrid->SetCell(kPathCol, 0, "BSU Full Path & Name");
  for (int r = 1; r <= limit; ++r) {
    StringGrid->SetCell(0, r, std::to_string(r));
    StringGrid->SetCell(kPathCol, r, "");
  }
  ini::TBiggerIniFile ini(context_.state->PathOf(settings::kBsusIni));
  OpenDialogDLL.InitialDir = DialogFolder(kUnitFolder);
  OpenDialogDLL.FileName.clear();
  const int count = settings::ListLength(ini, settings::kNumberOfBsus, limit);
  for (int r = 1; r <= count; ++r)
    StringGrid->SetCell(kPathCol, r, ini.ReadString(settings::kBsuList, std::to_string(r), ""));
}

void TFormDLLs::BtnAddClick() {
  int row = 1;
  while (row <= SlotLimit() && !StringGrid->Cell(kPathCol, row).empty()) ++row;
  if (row > SlotLimit()) {
    tk::Dialogs().Inform("No Empty Slots Available.");
    return;
  }
  OpenDialogDLL.InitialDir = DialogFolder(kUnitFolder);
  OpenDialogDLL.FileName.clear();
  RegisterChosen(row);
}

void TFormDLLs::BtnReplaceClick() {
  const int row = StringGrid->Row();
  if (row < 1) {
    tk::Dialogs().Inform("No Row Selected.");
  } else if (StringGrid->Cell(kPathCol, row).empty()) {
    tk::Dialogs().Inform("Select a Non-Blank Cell.");
  } else {
    OpenDialogDLL.FileName.clear();
    RegisterChosen(row);
  }
}

void TFormDLLs::RegisterChosen(int row) {
  const std::optional<std::string> chosen = tk::Dialogs().OpenFile(OpenDialogDLL);
  if (!chosen) return;
  const std::string path = tk::OneLine(*chosen);
  // Any file may be registered; one that is no unit simply gets no menu.
  if (!IsSoundUnit(path)) tk::Dialogs().Inform("The File is not a Brakken Sound Unit.");
  StringGrid->SetCell(kPathCol, row, path);
}

void TFormDLLs::BtnRemoveClick() {
  const int row = StringGrid->Row();
  if (row < 1) {
    tk::Dialogs().Inform("No Row Selected.");
  } else if (StringGrid->Cell(kPathCol, row).empty()) {
    tk::Dialogs().Inform("Please Select a Non-Blank Cell.");
  } else if (tk::Dialogs().Confirm("Are you sure you want remove this entry?")) {
    const int limit = SlotLimit();
    for (int r = row; r < limit; ++r)
      StringGrid->SetCell(kPathCol, r, StringGrid->Cell(kPathCol, r + 1));
    StringGrid->SetCell(kPathCol, limit, "");
  }
}

void TFormDLLs::BtnOKClick() {
  if (!tk::Dialogs().Confirm("Save Changes?")) return;
  {
    ini::TBiggerIniFile ini(context_.state->PathOf(settings::kBsusIni));
    ini.EraseSection(settings::kBsuList);
    int written = 0;
    for (int r = 1; r <= SlotLimit(); ++r) {
      const std::string path = StringGrid->Cell(kPathCol, r);
      if (path.empty()) break;
      ini.WriteString(settings::kBsuList, std::to_string(r), path);
      ++written;
    }
    ini.WriteString(settings::kSettings, settings::kNumberOfBsus, std::to_string(written));
  }
  if (context_.readSettings) context_.readSettings(this);
  Hide();
  if (context_.showConfig) context_.showConfig();
}

void TFormDLLs::BtnCancelClick() {
  if (!tk::Dialogs().Confirm("Cancel Changes?")) return;
  Hide();
  if (context_.showConfig) context_.showConfig();
}

}  // namespace editors
