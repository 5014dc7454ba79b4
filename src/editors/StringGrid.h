#pragma once

#include <string>
#include <vector>

#include <QTableWidget>

namespace editors {

// A grid of text cells whose first row and first column are fixed: drawn as headings,
// never current, never selected. Cells are addressed (column, row) from 0 and cannot be
// typed into.
class TStringGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit TStringGrid(QWidget* parent);

  // Resizes the grid; every cell exists and is empty when new.
  void SetDimensions(int colCount, int rowCount);
  void SetColWidths(const std::vector<int>& widths);
  // Whole rows (external list) or single cells with dragged blocks (unit list).
  void SetRowSelect(bool rows);

  std::string Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);

  // The row of the current cell; -1 when no cell is current.
  int Row() const;
  void SetCurrentCell(int col, int row);

  static constexpr int kRowHeight = 24;

 signals:
  // The button was released after a press on a data cell, or a key moved the current
  // row.
  void GridClick();
  // A double-click anywhere on the grid; the click of its first press came before.
  void GridDblClick();

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool IsDataCell(const QModelIndex& index) const;

  bool pressedOnData_ = false;
};

}  // namespace editors
