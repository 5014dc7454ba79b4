#pragma once

#include <string>
#include <vector>

#include <QTableWidget>

namespace editors {

// A grid of text cells whose first row and first column are fixed: they stay in place
// while the rest scrolls, are never current and take no selection. Cells are addressed
// (column, row) from 0, the fixed ones included, and cannot be typed into. The fixed
// row and column are the table's headers; cell (0, 0) is its corner.
class TStringGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit TStringGrid(QWidget* parent);

  // Resizes the grid, fixed row and column included; new cells are empty.
  void SetDimensions(int colCount, int rowCount);
  int ColCount() const { return columnCount() + 1; }
  int RowCount() const { return rowCount() + 1; }
  void SetColWidths(const std::vector<int>& widths);
  int ColWidth(int col) const;
  int RowHeight(int row) const;
  // Whole rows (external list) or single cells with dragged blocks (unit list).
  void SetRowSelect(bool rows);

  std::string Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);

  // The row of the current cell, counted with the fixed row; -1 when none is current.
  int Row() const;
  int Col() const;
  void SetCurrentCell(int col, int row);
  // Scrolls the row fully into view.
  void ShowRow(int row);
  // For tests: where a data cell lies in the viewport, to click it.
  QRect CellRect(int col, int row) const;

  static constexpr int kRowHeight = 24;

 signals:
  // The button was released after a press on a data cell, or a key moved the current
  // row.
  void GridClick();
  // A double-click anywhere on the grid; the click of its first press came before.
  void GridDblClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QTableWidgetItem* FixedItem(int col, int row) const;
  void PaintCorner(QWidget* corner);

  std::string cornerText_;
  QWidget* corner_ = nullptr;
  bool pressedOnData_ = false;
};

}  // namespace editors
