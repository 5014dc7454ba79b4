#include <cstdlib>
#include <string>
#include <vector>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "EditorFixture.h"
#include "editors/DLLs.h"
#include "editors/External.h"

using editors::TFormDLLs;
using editors::TFormExternal;
using ::testing::ElementsAre;

namespace {

class GridAndKeys : public EditorFixture {
 protected:
  GridAndKeys() {
    WriteIni("External.ini",
             "[Settings]\nNumberOfSounds=2\n[Sound-List]\n1=/a.wav\n2=/b.wav\n"
             "[Sound-Menu]\n1=A\n2=B\n");
    external = std::make_unique<TFormExternal>(nullptr, context);
    external->Show();
  }
  QPoint CellCentre(int col, int row) const {
    return external->StringGrid->CellRect(col, row).center();
  }
  // What a real double-click delivers: press, release, press, double-click, release.
  void DoubleClick(int col, int row) {
    QWidget* cells = external->StringGrid->viewport();
    QTest::mouseClick(cells, Qt::LeftButton, {}, CellCentre(col, row));
    QTest::mousePress(cells, Qt::LeftButton, {}, CellCentre(col, row));
    QTest::mouseDClick(cells, Qt::LeftButton, {}, CellCentre(col, row));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, CellCentre(col, row));
  }
  void Type(const char* text) { external->EditFileName->setText(text); }
  std::string FileBox() const { return external->EditFileName->text().toStdString(); }

  // The widgets the Tab key visits, in order, from the first one.
  static std::vector<std::string> TabChain(QWidget* first) {
    std::vector<std::string> names;
    QWidget* w = first;
    do {
      if (w->focusPolicy() & Qt::TabFocus) names.push_back(w->objectName().toStdString());
      w = w->nextInFocusChain();
    } while (w != first);
    return names;
  }

  std::unique_ptr<TFormExternal> external;
};

TEST_F(GridAndKeys, FixedCellsTakeNoClickAndDataCellsEmptyTheBoxes) {
  QWidget* cells = external->StringGrid->viewport();
  QHeaderView* numbers = external->StringGrid->verticalHeader();
  QHeaderView* titles = external->StringGrid->horizontalHeader();
  external->StringGrid->SetCurrentCell(1, 2);
  Type("typed");
  QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {},
                    QPoint(5, numbers->sectionViewportPosition(0) + 5));
  QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                    QPoint(titles->sectionViewportPosition(0) + 5, 5));
  EXPECT_EQ(FileBox(), "typed");
  EXPECT_EQ(external->StringGrid->Row(), 2);

  QTest::mouseClick(cells, Qt::LeftButton, {}, CellCentre(2, 1));
  EXPECT_EQ(FileBox(), "");
  EXPECT_EQ(external->StringGrid->Row(), 1);

  // The first press of a double-click empties the boxes, the double-click fills them.
  DoubleClick(1, 2);
  EXPECT_EQ(FileBox(), "/b.wav");
  EXPECT_EQ(external->EditMenuLabel->text().toStdString(), "B");

  // A double-click on an empty row leaves both boxes empty.
  DoubleClick(1, 5);
  EXPECT_EQ(FileBox(), "");
}

TEST_F(GridAndKeys, AnAddedRowScrollsIntoViewAndTheTopRowIsNeverCut) {
  editors::TStringGrid* grid = external->StringGrid;
  for (int row = 3; row <= 10; ++row) {
    Type("/more.wav");
    external->EditMenuLabel->setText("More");
    external->BtnAdd->click();
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->CellRect(1, row))) << row;
  }
  QScrollBar* bar = grid->verticalScrollBar();
  bar->setValue(bar->maximum() - 1);
  EXPECT_EQ(grid->CellRect(1, grid->rowAt(0) + 1).top(), 0);
}

TEST_F(GridAndKeys, KeysMoveTheRowButNeverOntoTheHeader) {
  external->StringGrid->SetCurrentCell(1, 1);
  Type("typed");
  QTest::keyClick(external->StringGrid, Qt::Key_Up);
  EXPECT_EQ(external->StringGrid->Row(), 1);
  EXPECT_EQ(FileBox(), "typed");
  QTest::keyClick(external->StringGrid, Qt::Key_Down);
  EXPECT_EQ(external->StringGrid->Row(), 2);
  EXPECT_EQ(FileBox(), "");
  QTest::keyClick(external->StringGrid, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(external->StringGrid->Row(), 1);
  EXPECT_EQ(external->StringGrid->Col(), 1);
}

TEST_F(GridAndKeys, EnterSavesAndEscapeCancelsUnlessAButtonHasTheFocus) {
  QTest::keyClick(external->EditFileName, Qt::Key_Return);
  QTest::keyClick(external->EditMenuLabel, Qt::Key_Escape);
  QTest::keyClick(external->StringGrid, Qt::Key_Enter, Qt::KeypadModifier);
  QTest::keyClick(external->StringGrid, Qt::Key_Escape);
  QTest::keyClick(external->BtnAdd, Qt::Key_Return);
  EXPECT_THAT(Confirms(),
              ElementsAre("Save Changes?", "Cancel Changes?", "Save Changes?", "Cancel Changes?"));
  EXPECT_THAT(Informs(), ElementsAre("No File Name && No Menu Label"));
  EXPECT_TRUE(external->Visible());
}

TEST_F(GridAndKeys, WindowsHaveTheirFrameSizeAndTabOrder) {
  TFormDLLs units(nullptr, context);
  units.Show();
  for (tk::TForm* form : std::vector<tk::TForm*>{external.get(), &units}) {
    const Qt::WindowFlags flags = form->Widget()->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_EQ(form->Widget()->minimumSize(), form->Widget()->maximumSize());
  }
  EXPECT_EQ(external->Caption(), "JBW v3 - External Sound List");
  EXPECT_EQ(external->Widget()->size(), QSize(562, 343));
  EXPECT_EQ(units.Caption(), "JBW v3 - BSU Registration");
  EXPECT_EQ(units.Widget()->size(), QSize(413, 176));
  EXPECT_THAT(TabChain(external->StringGrid),
              ElementsAre("StringGrid", "EditFileName", "EditMenuLabel", "BtnEdit", "BtnSave",
                          "BtnDelete", "BtnAdd", "BntOK", "BtnCancel"));
  EXPECT_THAT(TabChain(units.StringGrid),
              ElementsAre("StringGrid", "BtnAdd", "BtnRemove", "BtnOK", "BtnCancel", "BtnReplace"));
  EXPECT_EQ(external->StringGrid->RowHeight(4), 24);
  EXPECT_EQ(external->StringGrid->ColWidth(1), 375);
  EXPECT_EQ(units.StringGrid->ColWidth(1), 450);
  EXPECT_EQ(units.StringGrid->ColWidth(0), 25);
  EXPECT_EQ(units.StringGrid->RowHeight(0), 24);

  // Pictures for review: JBW_SHOT_DIR=folder writes them there.
  const QPixmap externalShot = external->Widget()->grab();
  const QPixmap unitsShot = units.Widget()->grab();
  EXPECT_EQ(externalShot.size(), QSize(562, 343));
  if (const char* dir = std::getenv("JBW_SHOT_DIR")) {
    externalShot.save(QString(dir) + "/external.png");
    unitsShot.save(QString(dir) + "/units.png");
  }
}

TEST_F(GridAndKeys, AnEditorIsBuiltAtItsFirstShowingCentredThenAndLeftWhereTheUserPutIt) {
  TFormDLLs units(nullptr, context);
  EXPECT_FALSE(units.Built());
  EXPECT_EQ(units.Widget()->findChild<QWidget*>(), nullptr);
  units.Show();
  ASSERT_TRUE(units.Built());
  const QRect area = units.Widget()->screen()->availableGeometry();
  const QRect frame = units.Widget()->frameGeometry();
  EXPECT_LE(std::abs(frame.center().x() - area.center().x()), 1);
  EXPECT_LE(std::abs(frame.center().y() - area.center().y()), 1);
  EXPECT_THAT(TabChain(units.StringGrid),
              ElementsAre("StringGrid", "BtnAdd", "BtnRemove", "BtnOK", "BtnCancel", "BtnReplace"));
  units.Widget()->move(frame.topLeft() + QPoint(30, 20));
  const QPoint moved = units.Widget()->pos();
  units.Hide();
  units.Show();
  EXPECT_EQ(units.Widget()->pos(), moved);
  EXPECT_EQ(units.StringGrid->ColWidth(1), 450);
}

}  // namespace
