#include <string>
#include <vector>

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "EditorFixture.h"
#include "editors/External.h"
#include "ini/BigIni.h"
#include "rtl/RuntimeErrors.h"

using editors::TFormExternal;
using ::testing::ElementsAre;

namespace {

class ExternalEditor : public EditorFixture {
 protected:
  // Opens the editor on an External.ini with `content` (none when empty).
  TFormExternal& Open(const std::string& content = "") {
    if (!content.empty()) WriteIni("External.ini", content);
    form = std::make_unique<TFormExternal>(nullptr, context);
    form->Show();
    return *form;
  }
  void Type(const std::string& file, const std::string& label) {
    form->EditFileName->setText(QString::fromStdString(file));
    form->EditMenuLabel->setText(QString::fromStdString(label));
  }
  std::string Box(QLineEdit* box) const { return box->text().toStdString(); }
  std::vector<std::string> Paths() const { return Column(*form->StringGrid, 1); }
  std::vector<std::string> Labels() const { return Column(*form->StringGrid, 2); }
  std::string Stored(const char* section, const std::string& key) {
    ini::TBigIniFile ini(app.File("External.ini"));
    return ini.ReadString(section, key, "<none>");
  }
  std::vector<std::string> Sections() {
    ini::TBigIniFile ini(app.File("External.ini"));
    std::vector<std::string> names;
    ini.ReadSections(names);
    return names;
  }

  std::unique_ptr<TFormExternal> form;
};

std::string TenSounds(int count = 10) {
  std::string list = "[Sound-List]\n", menu = "[Sound-Menu]\n";
  for (int i = 1; i <= count; ++i) {
    list += std::to_string(i) + "=/w/" + std::to_string(i) + ".wav\n";
    menu += std::to_string(i) + "=S" + std::to_string(i) + "\n";
  }
  return "[Settings]\nNumberOfSounds=" + std::to_string(count) + "\n" + list + menu;
}

TEST_F(ExternalEditor, OpeningShowsHeadersNumbersAndAtMostTheSlotLimit) {
  Open(TenSounds(12));
  const auto& grid = *form->StringGrid;
  EXPECT_EQ(grid.RowCount(), 11);
  EXPECT_EQ(grid.ColCount(), 3);
  EXPECT_EQ(grid.Cell(0, 0), "#");
  EXPECT_EQ(grid.Cell(1, 0), "Wav File Full Path & Name");
  EXPECT_EQ(grid.Cell(2, 0), "Text On Popup Menu");
  EXPECT_EQ(grid.Cell(0, 10), "10");
  EXPECT_EQ(grid.Cell(1, 10), "/w/10.wav");
  EXPECT_EQ(grid.Cell(2, 1), "S1");
  EXPECT_EQ(grid.Row(), 1);

  // Saving drops the keys beyond the limit and stores the count written.
  dialogs.confirmAnswers = {true};
  form->BntOK->click();
  EXPECT_EQ(Stored("Settings", "NumberOfSounds"), "10");
  EXPECT_EQ(Stored("Sound-List", "11"), "<none>");
  EXPECT_EQ(Stored("Sound-Menu", "12"), "<none>");
  EXPECT_EQ(readSettingsCalls, 1);
  EXPECT_EQ(showConfigCalls, 1);
  EXPECT_FALSE(form->Visible());
}

TEST_F(ExternalEditor, GapsFromTheFileStopTheSaveAtTheFirstEmptySlot) {
  Open(
      "[Settings]\nNumberOfSounds=4\nLastDir=/keep\n[Sound-List]\n1=/a.wav\n2=/b.wav\n"
      "[Sound-Menu]\n1=A\n");
  EXPECT_THAT(Paths(), ElementsAre("/a.wav", "/b.wav", "", "", "", "", "", "", "", ""));

  // Add fills the first gap; a missing label is saved as an empty value.
  Type("/c.wav", "C");
  form->BtnAdd->click();
  form->StringGrid->SetCell(1, 5, "/after-gap.wav");
  dialogs.confirmAnswers = {true};
  form->BntOK->click();
  EXPECT_EQ(Stored("Settings", "NumberOfSounds"), "3");
  EXPECT_EQ(Stored("Sound-Menu", "2"), "");
  EXPECT_EQ(Stored("Sound-List", "3"), "/c.wav");
  EXPECT_EQ(Stored("Sound-List", "5"), "<none>");
  EXPECT_EQ(Stored("Settings", "LastDir"), "/keep");
}

TEST_F(ExternalEditor, ValidationComesBeforeTheSlotSearch) {
  Open(TenSounds());
  Type("", "");
  form->BtnAdd->click();
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.calls[0].text, "No File Name && No Menu Label");
  EXPECT_EQ(dialogs.calls[0].shown, "No File Name & No Menu Label");

  Type("/x.wav", "");
  form->BtnAdd->click();
  Type("", "X");
  form->BtnAdd->click();
  Type("/x.wav", "X");
  form->BtnAdd->click();
  EXPECT_THAT(Informs(), ElementsAre("No File Name && No Menu Label", "No Menu Label",
                                     "No File Name", "No Empty Slots Available."));
  EXPECT_EQ(Box(form->EditFileName), "/x.wav");
  EXPECT_EQ(Paths().back(), "/w/10.wav");
}

TEST_F(ExternalEditor, ReplaceNeedsFilledBoxesAndAFilledRowThenAYes) {
  Open("[Settings]\nNumberOfSounds=1\n[Sound-List]\n1=/a.wav\n[Sound-Menu]\n1=A\n");
  form->StringGrid->SetCurrentCell(1, 2);
  Type("/b.wav", "");
  form->BtnSave->click();
  Type("/b.wav", "B");
  form->BtnSave->click();
  EXPECT_THAT(Informs(), ElementsAre("No Menu Label", "Use Add Button to Add new Sounds"));

  form->StringGrid->SetCurrentCell(1, 1);
  dialogs.confirmAnswers = {false, true};
  form->BtnSave->click();
  EXPECT_EQ(Paths()[0], "/a.wav");
  EXPECT_EQ(Box(form->EditMenuLabel), "B");
  form->BtnSave->click();
  EXPECT_THAT(Confirms(), ElementsAre("Replace Sound Info?", "Replace Sound Info?"));
  EXPECT_EQ(Paths()[0], "/b.wav");
  EXPECT_EQ(Labels()[0], "B");
  EXPECT_EQ(Box(form->EditFileName), "");
}

TEST_F(ExternalEditor, DeleteMovesLaterRowsUpAndEmptiesTheLast) {
  Open(TenSounds());
  form->StringGrid->SetCurrentCell(1, 1);
  form->BtnDelete->click();  // answered No
  EXPECT_EQ(Paths()[0], "/w/1.wav");

  dialogs.confirmAnswers = {true, true};
  form->BtnDelete->click();
  EXPECT_EQ(Paths()[0], "/w/2.wav");
  EXPECT_EQ(Labels()[8], "S10");
  EXPECT_EQ(Paths()[9], "");
  EXPECT_EQ(form->StringGrid->Row(), 1);

  form->StringGrid->SetCurrentCell(1, 9);
  form->BtnDelete->click();
  EXPECT_EQ(Paths()[8], "");
  EXPECT_EQ(Paths()[7], "/w/9.wav");

  form->BtnDelete->click();  // now on an empty row
  EXPECT_THAT(Informs(), ElementsAre("Please Select a Non-Blank Cell."));
  EXPECT_THAT(Confirms(), ElementsAre("Are you sure you want remove this entry?",
                                      "Are you sure you want remove this entry?",
                                      "Are you sure you want remove this entry?"));
}

TEST_F(ExternalEditor, SavingAnEmptyListRemovesTheListSections) {
  Open("[Settings]\nNumberOfSounds=1\nLastDir=/x\n[Sound-List]\n1=/a.wav\n[Sound-Menu]\n1=A\n");
  dialogs.confirmAnswers = {true, false, true};
  form->BtnDelete->click();
  form->BntOK->click();  // No: stays open
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(readSettingsCalls, 0);
  form->BntOK->click();
  EXPECT_THAT(Sections(), ElementsAre("Settings"));
  EXPECT_EQ(Stored("Settings", "NumberOfSounds"), "0");
  EXPECT_EQ(Stored("Settings", "LastDir"), "/x");
}

TEST_F(ExternalEditor, EditCopiesTheRowAndAClickEmptiesTheBoxes) {
  Open("[Settings]\nNumberOfSounds=1\n[Sound-List]\n1=/a.wav\n");
  Type("typed", "text");
  form->StringGrid->SetCurrentCell(1, 2);
  form->BtnEdit->click();  // empty row: nothing happens
  EXPECT_EQ(Box(form->EditFileName), "typed");
  form->StringGridClick();
  form->StringGrid->SetCurrentCell(1, 1);
  form->BtnEdit->click();
  EXPECT_EQ(Box(form->EditFileName), "/a.wav");
  EXPECT_EQ(Box(form->EditMenuLabel), "");
}

TEST_F(ExternalEditor, BrowseWritesLastDirAtOnceAndCancelKeepsIt) {
  std::filesystem::create_directory(app.File("music"));
  const std::string song = app.File("music") + "/song.wav";
  Open();
  dialogs.openFileAnswers = {std::nullopt, song};
  form->BtnOpen->click();  // cancelled: no box change, no file
  EXPECT_FALSE(app.Exists("External.ini"));
  const tk::TOpenDialogOptions& first = dialogs.Last()->options;
  EXPECT_EQ(first.Title, "Find External Sound File (*.wav)");
  ASSERT_EQ(first.Filters.size(), 2u);
  EXPECT_EQ(first.Filters[0].Description, "Sound File (*.wav)");
  EXPECT_EQ(first.Filters[0].Patterns, "*.wav");
  EXPECT_EQ(first.Filters[1].Description, "All Sound Files");
  EXPECT_EQ(first.Filters[1].Patterns, "*.wav;*.flac;*.ogg;*.opus;*.mp3");
  EXPECT_EQ(first.InitialDir, "./Wavs");
  EXPECT_TRUE(first.RestoreCurrentDir);

  const auto before = std::filesystem::current_path();
  form->EditMenuLabel->setText("kept");
  form->BtnOpen->click();
  EXPECT_EQ(Box(form->EditFileName), song);
  EXPECT_EQ(Box(form->EditMenuLabel), "kept");
  EXPECT_EQ(Stored("Settings", "LastDir"), app.File("music"));
  EXPECT_EQ(std::filesystem::current_path(), before);

  dialogs.confirmAnswers = {true};
  form->BtnCancel->click();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(showConfigCalls, 1);
  EXPECT_EQ(Stored("Settings", "LastDir"), app.File("music"));
  EXPECT_EQ(Stored("Settings", "NumberOfSounds"), "<none>");

  form->Show();
  form->BtnOpen->click();  // cancelled
  EXPECT_EQ(dialogs.Last()->options.InitialDir, app.File("music"));
  EXPECT_TRUE(dialogs.Last()->options.FileName.empty());

  // A file in the top folder keeps its separator, so the next browse starts there too.
  dialogs.openFileAnswers = {"/top.wav"};
  form->BtnOpen->click();
  EXPECT_EQ(Stored("Settings", "LastDir"), "/");
}

TEST_F(ExternalEditor, PastedLineBreaksAndControlCharactersNeverReachTheFile) {
  Open();
  form->EditFileName->insert("/a.wav\r\n/b.wav");
  form->EditMenuLabel->insert("Two\n[Settings]\nNumberOfSounds=1 lines");
  EXPECT_EQ(Box(form->EditFileName), "/a.wav");
  EXPECT_EQ(Box(form->EditMenuLabel), "Two");
  form->BtnAdd->click();

  // Pasted in the middle: the text after the cursor stays.
  Type("/c.wav", "Ab");
  form->EditMenuLabel->setCursorPosition(1);
  form->EditMenuLabel->insert("\x1a-\t-\nlost");
  EXPECT_EQ(Box(form->EditMenuLabel), "A--b");
  form->BtnAdd->click();

  dialogs.confirmAnswers = {true};
  form->BntOK->click();
  EXPECT_THAT(Sections(), ElementsAre("Sound-List", "Sound-Menu", "Settings"));
  EXPECT_EQ(Stored("Settings", "NumberOfSounds"), "2");
  EXPECT_EQ(Stored("Sound-Menu", "1"), "Two");
  EXPECT_EQ(Stored("Sound-Menu", "2"), "A--b");
  EXPECT_EQ(app.Read("External.ini").find('\x1a'), std::string::npos);
}

TEST_F(ExternalEditor, TheLabelBoxTakesWhatTheLastRowsLineHolds) {
  Open(TenSounds(9));
  Type("/ten.wav", std::string(300, 'L'));
  EXPECT_EQ(Box(form->EditMenuLabel).size(), 252u);
  form->BtnAdd->click();
  dialogs.confirmAnswers = {true};
  form->BntOK->click();
  EXPECT_EQ(Stored("Sound-Menu", "10"), std::string(252, 'L'));
}

TEST_F(ExternalEditor, ACountThatIsNoNumberOpensWithEmptyRowsAndReportsIt) {
  Open(TenSounds());
  Type("/left.wav", "Left");
  dialogs.confirmAnswers = {true};
  form->BtnCancel->click();
  WriteIni("External.ini", "[Settings]\nNumberOfSounds=abc\n[Sound-List]\n1=/a.wav\n");
  form->Show();
  EXPECT_TRUE(form->Visible());
  EXPECT_THAT(Errors(), ElementsAre("'abc' is not a valid integer value"));
  EXPECT_THAT(Paths(), ElementsAre("", "", "", "", "", "", "", "", "", ""));
  EXPECT_EQ(form->StringGrid->Cell(0, 3), "3");
  EXPECT_EQ(Box(form->EditFileName), "/left.wav");  // the boxes keep what they held
}

TEST_F(ExternalEditor, AFailingRebuildAfterSaveLeavesTheEditorOpen) {
  Open();
  readSettingsFails = [] { throw rtl::EConvertError("'x' is not a valid integer value"); };
  Type("/a.wav", "A");
  form->BtnAdd->click();
  dialogs.confirmAnswers = {true, true};
  form->BntOK->click();
  EXPECT_THAT(Errors(), ElementsAre("'x' is not a valid integer value"));
  EXPECT_EQ(Stored("Sound-List", "1"), "/a.wav");
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(showConfigCalls, 0);
  form->BtnCancel->click();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(showConfigCalls, 1);
}

}  // namespace
