#include <filesystem>
#include <string>
#include <vector>

#include <QPushButton>

#include "EditorFixture.h"
#include "editors/DLLs.h"
#include "ini/BigIni.h"

using editors::TFormDLLs;
using ::testing::ElementsAre;

namespace {

class UnitEditor : public EditorFixture {
 protected:
  TFormDLLs& Open(const std::string& content = "") {
    if (!content.empty()) WriteIni("BSUs.ini", content);
    form = std::make_unique<TFormDLLs>(nullptr, context);
    form->Show();
    return *form;
  }
  std::vector<std::string> Paths() const { return Column(*form->StringGrid, 1); }
  std::string Stored(const char* section, const std::string& key) {
    ini::TBigIniFile ini(app.File("BSUs.ini"));
    return ini.ReadString(section, key, "<none>");
  }

  std::unique_ptr<TFormDLLs> form;
};

constexpr const char* kThree =
    "[Settings]\nNumberOfBSUs=3\n[BSU-List]\n1=/u/a.BSU\n2=/u/b.BSU\n3=/u/c.BSU\n";

TEST_F(UnitEditor, OpeningCapsAtTheSlotLimitAndSaveDropsTheRest) {
  Open("[Other]\nx=1\n[Settings]\nNumberOfBSUs=5\n[BSU-List]\n1=a\n2=b\n3=c\n4=d\n5=e\n");
  EXPECT_EQ(form->StringGrid->RowCount(), 4);
  EXPECT_EQ(form->StringGrid->Cell(1, 0), "BSU Full Path & Name");
  EXPECT_EQ(form->StringGrid->Cell(0, 3), "3");
  EXPECT_THAT(Paths(), ElementsAre("a", "b", "c"));
  EXPECT_EQ(form->StringGrid->Row(), 1);
  EXPECT_EQ(form->StringGrid->Col(), 1);

  dialogs.confirmAnswers = {true};
  form->BtnOK->click();
  EXPECT_EQ(Stored("Settings", "NumberOfBSUs"), "3");
  EXPECT_EQ(Stored("BSU-List", "4"), "<none>");
  EXPECT_EQ(Stored("Other", "x"), "1");
  EXPECT_EQ(readSettingsCalls, 1);
  EXPECT_EQ(showConfigCalls, 1);
  EXPECT_FALSE(form->Visible());
}

TEST_F(UnitEditor, AGapIsFilledByAddAndOtherwiseEndsTheSave) {
  Open("[Settings]\nNumberOfBSUs=3\n[BSU-List]\n1=/u/a.BSU\n3=/u/c.BSU\n");
  EXPECT_THAT(Paths(), ElementsAre("/u/a.BSU", "", "/u/c.BSU"));
  dialogs.confirmAnswers = {true};
  form->BtnOK->click();
  EXPECT_EQ(Stored("Settings", "NumberOfBSUs"), "1");
  EXPECT_EQ(Stored("BSU-List", "3"), "<none>");

  form->Show();
  dialogs.openFileAnswers = {JBW_TEST_UNIT};
  form->BtnAdd->click();
  EXPECT_THAT(Paths(), ElementsAre("/u/a.BSU", JBW_TEST_UNIT, ""));
  const tk::TOpenDialogOptions& options = dialogs.Last()->options;
  EXPECT_EQ(options.Title, "Find Brakken Sound File (*.bsu)");
  ASSERT_EQ(options.Filters.size(), 1u);
  EXPECT_EQ(options.Filters[0].Description, "Brakken Sound File (*.BSUl)");
  EXPECT_EQ(options.InitialDir, "./BSUs");
  EXPECT_TRUE(options.FileName.empty());
}

TEST_F(UnitEditor, AChosenNameWithALineBreakIsKeptToItsFirstLine) {
  Open();
  dialogs.openFileAnswers = {"/u/a.BSU\n[Settings]\nNumberOfBSUs=3"};
  form->BtnAdd->click();
  dialogs.confirmAnswers = {true};
  form->BtnOK->click();
  EXPECT_EQ(app.Read("BSUs.ini"),
            "[BSU-List]\r\n1=/u/a.BSU\r\n\r\n[Settings]\r\nNumberOfBSUs=1\r\n\r\n");
}

TEST_F(UnitEditor, TheDialogMovesTheCurrentFolderToTheChosenFile) {
  std::filesystem::create_directory(app.File("units"));
  Open();
  dialogs.openFileAnswers = {app.File("units") + "/a.BSU"};
  form->BtnAdd->click();
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(app.File("units")));
  EXPECT_FALSE(app.Exists("BSUs.ini"));  // nothing is written before OK
}

TEST_F(UnitEditor, AFileThatIsNoSoundUnitIsReportedAndRegisteredAnyway) {
  app.Write("notes.BSU", "not a module");
  const std::string notes = app.File("notes.BSU");
  Open();
  dialogs.openFileAnswers = {JBW_TEST_UNIT, notes};
  form->BtnAdd->click();
  EXPECT_TRUE(Informs().empty());
  form->BtnAdd->click();
  EXPECT_THAT(Informs(), ElementsAre("The File is not a Brakken Sound Unit."));
  EXPECT_THAT(Paths(), ElementsAre(JBW_TEST_UNIT, notes, ""));

  form->StringGrid->SetCurrentCell(1, 1);
  dialogs.openFileAnswers = {JBW_NO_EXPORTS_UNIT};
  form->BtnReplace->click();
  EXPECT_EQ(Informs().size(), 2u);
  EXPECT_EQ(Paths()[0], JBW_NO_EXPORTS_UNIT);
}

// Browsing runs no unit code here: a unit that writes a file as it loads is no sound
// unit to the check, and wrote nothing.
TEST_F(UnitEditor, TheCheckRunsNoUnitCode) {
  const std::string trace = std::string(JBW_MISBEHAVING_DIR) + "/traces/written";
  std::filesystem::remove(trace);
  Open();
  dialogs.openFileAnswers = {std::string(JBW_MISBEHAVING_DIR) + "/WritesFile.BSU",
                             std::string(JBW_MISBEHAVING_DIR) + "/Copied.BSU"};
  form->BtnAdd->click();
  form->BtnAdd->click();
  EXPECT_THAT(Informs(), ElementsAre("The File is not a Brakken Sound Unit."));
  EXPECT_FALSE(std::filesystem::exists(trace));
}

TEST_F(UnitEditor, AddOnAFullListOpensNoDialog) {
  Open(kThree);
  form->BtnAdd->click();
  EXPECT_THAT(Informs(), ElementsAre("No Empty Slots Available."));
  EXPECT_EQ(dialogs.calls.size(), 1u);
}

TEST_F(UnitEditor, ReplaceNeedsAFilledRowAndKeepsTheRowOnCancel) {
  Open("[Settings]\nNumberOfBSUs=1\n[BSU-List]\n1=/u/a.BSU\n");
  form->StringGrid->SetCurrentCell(1, 2);
  form->BtnReplace->click();
  EXPECT_THAT(Informs(), ElementsAre("Select a Non-Blank Cell."));

  form->StringGrid->SetCurrentCell(1, 1);
  dialogs.openFileAnswers = {std::nullopt, "/v/new.BSU"};
  form->BtnReplace->click();
  EXPECT_EQ(Paths()[0], "/u/a.BSU");
  form->BtnReplace->click();
  EXPECT_EQ(Paths()[0], "/v/new.BSU");
  EXPECT_TRUE(Confirms().empty());
}

TEST_F(UnitEditor, RemoveOnTheFirstAndLastSlots) {
  Open(kThree);
  form->StringGrid->SetCurrentCell(1, 3);
  form->BtnRemove->click();  // answered No
  EXPECT_THAT(Paths(), ElementsAre("/u/a.BSU", "/u/b.BSU", "/u/c.BSU"));
  dialogs.confirmAnswers = {true, true};
  form->BtnRemove->click();
  EXPECT_THAT(Paths(), ElementsAre("/u/a.BSU", "/u/b.BSU", ""));
  form->StringGrid->SetCurrentCell(1, 1);
  form->BtnRemove->click();
  EXPECT_THAT(Paths(), ElementsAre("/u/b.BSU", "", ""));
  form->StringGrid->SetCurrentCell(1, 3);
  form->BtnRemove->click();
  EXPECT_THAT(Informs(), ElementsAre("Please Select a Non-Blank Cell."));
}

TEST_F(UnitEditor, NoAnswersKeepTheEditsAndCancelDiscardsThem) {
  Open(kThree);
  form->StringGrid->SetCurrentCell(1, 1);
  dialogs.confirmAnswers = {true, false, false, true};
  form->BtnRemove->click();
  form->BtnOK->click();
  form->BtnCancel->click();
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(Paths()[0], "/u/b.BSU");
  EXPECT_EQ(Stored("BSU-List", "1"), "/u/a.BSU");
  form->BtnCancel->click();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(readSettingsCalls, 0);
  EXPECT_EQ(showConfigCalls, 1);
  form->Show();
  EXPECT_EQ(Paths()[0], "/u/a.BSU");
}

TEST_F(UnitEditor, AMissingFileIsCreatedOnlyBySave) {
  Open();
  EXPECT_THAT(Paths(), ElementsAre("", "", ""));
  EXPECT_FALSE(app.Exists("BSUs.ini"));
  dialogs.confirmAnswers = {true};
  form->BtnOK->click();
  EXPECT_EQ(Stored("Settings", "NumberOfBSUs"), "0");
  EXPECT_EQ(Stored("BSU-List", "1"), "<none>");
}

TEST_F(UnitEditor, ACountThatIsNoNumberOpensWithEmptySlots) {
  Open("[Settings]\nNumberOfBSUs=\n[BSU-List]\n1=/u/a.BSU\n");
  EXPECT_TRUE(form->Visible());
  EXPECT_THAT(Errors(), ElementsAre("'' is not a valid integer value"));
  EXPECT_THAT(Paths(), ElementsAre("", "", ""));
}

}  // namespace
