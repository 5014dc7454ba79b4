#pragma once

#include <vector>

#include <QRect>
#include <QSize>

class QStyleOptionMenuItem;
class QWidget;

namespace tk {

class TMenuItem;

// Where the entries of one menu sit in its popup window. Columns begin exactly at the
// entries that carry a break; a bar break draws a vertical bar before its column.
struct TMenuLayout {
  struct Cell {
    TMenuItem* item = nullptr;
    QRect rect;
    int column = 0;
    int row = 0;
  };
  std::vector<Cell> cells;
  std::vector<int> columnFirst;  // index of the first cell of each column
  std::vector<int> bars;         // x of each vertical bar
  QSize size;
  bool checkable = false;  // some entry is a radio item or checked: keep a check column
  int tabWidth = 0;
  int captionWidth = 0;  // widest caption shown; wider ones are cut with an ellipsis

  int Columns() const { return static_cast<int>(columnFirst.size()); }
  int ColumnSize(int column) const;
  // The cell at column and row, or -1.
  int CellOf(int column, int row) const;
  // The cell under a point of the window, or -1.
  int CellAt(const QPoint& point) const;
};

// Lays out the entries of `menu` with the style, font and metrics of `widget`.
TMenuLayout LayoutMenu(const TMenuItem& menu, const QWidget& widget);

// The style option that draws (or measures) one cell, its caption cut to fit.
void InitMenuItemOption(QStyleOptionMenuItem& option, const TMenuLayout& layout,
                        const TMenuItem& item, const QWidget& widget, bool selected);

}  // namespace tk
