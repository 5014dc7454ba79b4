#include "toolkit/Dialogs.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "Later.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/QtDialogs.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

// Restores the process's current folder, which the file dialogs may move.
struct CurrentFolderGuard {
  fs::path saved = fs::current_path();
  ~CurrentFolderGuard() { fs::current_path(saved); }
};

std::vector<QString> ButtonTexts(QMessageBox* box) {
  std::vector<QString> texts;
  for (QAbstractButton* button : box->buttons()) texts.push_back(button->text());
  std::sort(texts.begin(), texts.end());
  return texts;
}

TEST(ScriptedDialogs, AnswersFromItsQueuesLogsEveryCallAndStepsAsideAfterwards) {
  ScriptedDialogs outer;
  {
    ScriptedDialogs dialogs;
    dialogs.confirmAnswers = {true};
    EXPECT_TRUE(Dialogs().Confirm("Save Changes?"));
    EXPECT_FALSE(Dialogs().Confirm("Cancel Changes?"));  // queue empty: No
    Dialogs().Inform("No File Name && No Menu Label");
    EXPECT_EQ(Dialogs().OpenFile({}), std::nullopt);
    ASSERT_EQ(dialogs.calls.size(), 4u);
    EXPECT_EQ(dialogs.calls[0].title, "Confirm");
    EXPECT_EQ(dialogs.calls[2].title, "Information");
    EXPECT_EQ(dialogs.calls[2].text, "No File Name && No Menu Label");
    EXPECT_EQ(dialogs.calls[2].shown, "No File Name & No Menu Label");
    EXPECT_EQ(dialogs.Texts(ScriptedDialogs::Kind::Confirm),
              (std::vector<std::string>{"Save Changes?", "Cancel Changes?"}));
  }
  EXPECT_EQ(&Dialogs(), &outer);
  EXPECT_TRUE(outer.calls.empty());
}

TEST(ScriptedDialogs, AnUnrestoredChoiceMovesTheCurrentFolderLikeTheRealDialog) {
  CurrentFolderGuard keep;
  TempFolder folder;
  fs::create_directory(folder.File("BSUs"));
  const std::string unit = folder.File("BSUs") + "/Demo.BSU";
  ScriptedDialogs dialogs;
  dialogs.openFileAnswers = {unit, unit};
  TOpenDialogOptions options;
  options.RestoreCurrentDir = true;
  Dialogs().OpenFile(options);
  EXPECT_EQ(fs::current_path(), keep.saved);
  options.RestoreCurrentDir = false;
  EXPECT_EQ(Dialogs().OpenFile(options), unit);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), folder.File("BSUs")));
}

TEST(Dialogs, FilterStringsAndFolders) {
  const auto filters = ParseFilter("Brakken Sound File (*.BSUl)|*.BSU;*.bsu|All|*");
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].Description, "Brakken Sound File (*.BSUl)");
  EXPECT_EQ(filters[0].Patterns, "*.BSU;*.bsu");
  EXPECT_EQ(filters[1].Patterns, "*");
  EXPECT_EQ(FolderOf("/home/u/Wavs/a.wav"), "/home/u/Wavs");
  EXPECT_EQ(FolderOf("/a.wav"), "/");
  EXPECT_EQ(FolderOf("a.wav"), "");
}

class QtDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureToolkitApp(); }
  // Runs `answer` on the box once it is up.
  static void WithBox(std::function<void(QMessageBox*)> answer) {
    Later([answer] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      answer(box);
      if (box->isVisible()) box->done(0);
    });
  }
  TQtDialogs dialogs;
};

TEST_F(QtDialogsTest, ConfirmationBoxAsksWithYesByDefaultAndEscapeAnswersNo) {
  WithBox([](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), "Confirm");
    EXPECT_EQ(box->text(), "Salt & Pepper?");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(ButtonTexts(box), (std::vector<QString>{"&No", "&Yes"}));
    EXPECT_EQ(box->defaultButton()->text(), "&Yes");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &escape);
  });
  EXPECT_FALSE(dialogs.Confirm("Salt && Pepper?"));
  WithBox([](QMessageBox* box) { box->defaultButton()->click(); });
  EXPECT_TRUE(dialogs.Confirm("Save Changes?"));
}

TEST_F(QtDialogsTest, InformationAndErrorBoxes) {
  WithBox([](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), "Information");
    EXPECT_EQ(box->text(), "No File Name & No Menu Label");
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(ButtonTexts(box), std::vector<QString>{"OK"});
    box->defaultButton()->click();
  });
  dialogs.Inform("No File Name && No Menu Label");

  Application().SetTitle("Jabberwell v3");
  WithBox([](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), "Jabberwell v3");
    EXPECT_EQ(box->text(), "'<x> && y' is not a valid integer value");  // shown as given
    box->defaultButton()->click();
  });
  dialogs.ShowError("'<x> && y' is not a valid integer value");
}

TEST_F(QtDialogsTest, OpenFileReturnsTheChosenPathAndMovesTheFolderWhenAsked) {
  CurrentFolderGuard keep;
  TempFolder folder;
  fs::create_directory(folder.File("Wavs"));
  std::ofstream(folder.File("Wavs") + "/bell.wav") << "RIFF";
  fs::current_path(folder.Path());
  TOpenDialogOptions options;
  options.Title = "Find External Sound File (*.wav)";
  options.Filters = ParseFilter("Sound File (*.wav)|*.wav");
  options.InitialDir = ".\\Wavs";
  options.RestoreCurrentDir = false;
  Later([&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Find External Sound File (*.wav)");
    EXPECT_TRUE(
        fs::equivalent(dialog->directory().absolutePath().toStdString(), folder.File("Wavs")));
    dialog->selectFile("bell.wav");
    static_cast<QDialog*>(dialog)->accept();
  });
  const auto chosen = dialogs.OpenFile(options);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(fs::equivalent(*chosen, folder.File("Wavs") + "/bell.wav"));
  EXPECT_TRUE(fs::equivalent(fs::current_path(), folder.File("Wavs")));

  Later([] { QApplication::activeModalWidget()->close(); });
  EXPECT_EQ(dialogs.OpenFile(options), std::nullopt);
}

TEST_F(QtDialogsTest, AMissingStartFolderOpensItsNearestParentWithAnEmptyFileName) {
  CurrentFolderGuard keep;
  TempFolder folder;
  fs::current_path(folder.Path());
  TOpenDialogOptions options;
  options.InitialDir = ".\\Wavs\\Deeper";
  Later([&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(fs::equivalent(dialog->directory().absolutePath().toStdString(), folder.Path()));
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), "");
    dialog->reject();
  });
  EXPECT_EQ(dialogs.OpenFile(options), std::nullopt);
}

}  // namespace
}  // namespace tk
