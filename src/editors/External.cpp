#include "editors/External.h"

#include <string>

#include <QLineEdit>

#include "editors/DialogFolder.h"
#include "editors/StringGrid.h"
#include "ini/BigIni.h"
#include "platform/SoundOutput.h"
#include "settings/NumberedList.h"
#include "settings/SettingsFiles.h"

namespace editors {

namespace {

constexpr int kPathCol = 1;
constexpr int kLabelCol = 2;

std::string Text(const QLineEdit* box) {
  return box->text().toLocal8Bit().toStdString();
}

void SetText(QLineEdit* box, const std::string& text) {
  box->setText(QString::fromLocal8Bit(text));
}

}  // namespace

int TFormExternal::SlotLimit() const {
  return context_.state->externalSlotLimit;
}

bool TFormExternal::BoxesFilled() {
  const bool noFile = EditFileName->text().isEmpty();
  const bool noLabel = EditMenuLabel->text().isEmpty();
  if (noFile && noLabel) {
    tk::Dialogs().Inform(std::string("No File Name") + " && No Menu Label");
  } else if (noFile) {
    tk::Dialogs().Inform("No File Name");
  } else if (noLabel) {
    tk::Dialogs().Inform("No Menu Label");
  }
  return !noFile && !noLabel;
}

void TFormExternal::FormShow() {
  const int limit = SlotLimit();
  StringGrid->SetDimensions(3, limit + 1);
  StringGrid->SetColWidths({25, 375, 120});
  StringGrid->SetCell(0, 0, "#");
  StringGrid->SetCell(kPathCol, 0, "Wav File Full Path & Name");
  StringGrid->SetCell(kLabelCol, 0, "Text On Popup Menu");
  for (int r = 1; r <= limit; ++r) {
    StringGrid->SetCell(0, r, std::to_string(r));
    StringGrid->SetCell(kPathCol, r, "");
    StringGrid->SetCell(kLabelCol, r, "");
  }
  {
    ini::TBiggerIniFile ini(context_.state->PathOf(settings::kExternalIni));
    const int count = settings::ListLength(ini, settings::kNumberOfSounds, limit);
    for (int r = 1; r <= count; ++r) {
      const std::string key = std::to_string(r);
      StringGrid->SetCell(kPathCol, r, ini.ReadString(settings::kSoundList, key, ""));
      StringGrid->SetCell(kLabelCol, r, ini.ReadString(settings::kSoundMenu, key, ""));
    }
  }
  EditFileName->clear();
  EditMenuLabel->clear();
}

void TFormExternal::BtnOpenClick() {
  ini::TBiggerIniFile ini(context_.state->PathOf(settings::kExternalIni));
  OpenDialogWav.InitialDir = DialogFolder(
      ini.ReadString(settings::kSettings, settings::kLastDir, settings::kDefaultLastDir));
  OpenDialogWav.FileName.clear();
  const std::optional<std::string> chosen = tk::Dialogs().OpenFile(OpenDialogWav);
  if (!chosen) return;
  SetText(EditFileName, *chosen);
  // Written now, so the next browse starts there even if the list is never saved.
  ini.WriteString(settings::kSettings, settings::kLastDir, tk::FolderOf(Text(EditFileName)));
}

void TFormExternal::BtnAddClick() {
  if (!BoxesFilled()) return;
  for (int r = 1; r <= SlotLimit(); ++r) {
    if (!StringGrid->Cell(kPathCol, r).empty()) continue;
    StringGrid->SetCell(kPathCol, r, Text(EditFileName));
    StringGrid->SetCell(kLabelCol, r, Text(EditMenuLabel));
    StringGrid->ShowRow(r);
    EditFileName->clear();
    EditMenuLabel->clear();
    return;
  }
  tk::Dialogs().Inform("No Empty Slots Available.");
}

void TFormExternal::StringGridDblClick() {
  const int row = StringGrid->Row();
  if (row < 1 || StringGrid->Cell(kPathCol, row).empty()) return;
  SetText(EditFileName, StringGrid->Cell(kPathCol, row));
  SetText(EditMenuLabel, StringGrid->Cell(kLabelCol, row));
}

void TFormExternal::StringGridClick() {
  EditFileName->clear();
  EditMenuLabel->clear();
}

void TFormExternal::BtnSaveClick() {
  if (!BoxesFilled()) return;
  const int row = StringGrid->Row();
  if (row < 1 || StringGrid->Cell(kPathCol, row).empty()) {
    tk::Dialogs().Inform("Use Add Button to Add new Sounds");
    return;
  }
  if (!tk::Dialogs().Confirm("Replace Sound Info?")) return;
  StringGrid->SetCell(kPathCol, row, Text(EditFileName));
  StringGrid->SetCell(kLabelCol, row, Text(EditMenuLabel));
  EditFileName->clear();
  EditMenuLabel->clear();
}

void TFormExternal::BtnDeleteClick() {
  const int row = StringGrid->Row();
  if (row < 1) {
    tk::Dialogs().Inform("No Row Selected.");
  } else if (StringGrid->Cell(kPathCol, row).empty()) {
    tk::Dialogs().Inform("Please Select a Non-Blank Cell.");
  } else if (tk::Dialogs().Confirm("Are you sure you want remove this entry?")) {
    const int limit = SlotLimit();
    for (int r = row; r < limit; ++r) {
      StringGrid->SetCell(kPathCol, r, StringGrid->Cell(kPathCol, r + 1));
      StringGrid->SetCell(kLabelCol, r, StringGrid->Cell(kLabelCol, r + 1));
    }
    StringGrid->SetCell(kPathCol, limit, "");
    StringGrid->SetCell(kLabelCol, limit, "");
  }
}

void TFormExternal::BtnTestClick() {
  platform::PlaySoundA(Text(EditFileName).c_str(), nullptr,
                       platform::SND_FILENAME | platform::SND_ASYNC);
}

void TFormExternal::BntOKClick() {
  if (!tk::Dialogs().Confirm("Save Changes?")) return;
  {
    ini::TBiggerIniFile ini(context_.state->PathOf(settings::kExternalIni));
    ini.EraseSection(settings::kSoundList);
    ini.EraseSection(settings::kSoundMenu);
    int written = 0;
    for (int r = 1; r <= SlotLimit(); ++r) {
      const std::string path = StringGrid->Cell(kPathCol, r);
      if (path.empty()) break;
      const std::string key = std::to_string(r);
      ini.WriteString(settings::kSoundList, key, path);
      ini.WriteString(settings::kSoundMenu, key, StringGrid->Cell(kLabelCol, r));
      ++written;
    }
    ini.WriteString(settings::kSettings, settings::kNumberOfSounds, std::to_string(written));
  }
  if (context_.readSettings) context_.readSettings(this);
  Hide();
  if (context_.showConfig) context_.showConfig();
}

void TFormExternal::BtnCancelClick() {
  if (!tk::Dialogs().Confirm("Cancel Changes?")) return;
  Hide();
  if (context_.showConfig) context_.showConfig();
}

}  // namespace editors
