#include "editors/StringGrid.h"

#include <algorithm>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace editors {

namespace {

constexpr int kTextMargin = 2;

bool IsFixed(const QModelIndex& index) { return index.row() == 0 || index.column() == 0; }

// Fixed cells look like raised buttons, data cells like plain text on the base colour.
class TGridCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QPalette& pal = option.palette;
    const QRect r = option.rect;
    const bool fixed = IsFixed(index);
    const bool selected = !fixed && (option.state & QStyle::State_Selected);
    painter->save();
    painter->fillRect(r, fixed ? pal.button() : selected ? pal.highlight() : pal.base());
    if (fixed) {
      painter->setPen(pal.light().color());
      painter->drawLine(r.topLeft(), r.topRight());
      painter->drawLine(r.topLeft(), r.bottomLeft());
      painter->setPen(pal.dark().color());
      painter->drawLine(r.bottomLeft(), r.bottomRight());
      painter->drawLine(r.topRight(), r.bottomRight());
    }
    painter->setPen(fixed      ? pal.buttonText().color()
                    : selected ? pal.highlightedText().color()
                               : pal.text().color());
    const QRect text = r.adjusted(kTextMargin, 0, -kTextMargin, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (!fixed && (option.state & QStyle::State_HasFocus)) {
      QPen dots(selected ? pal.highlightedText().color() : pal.text().color());
      dots.setStyle(Qt::DotLine);
      painter->setPen(dots);
      painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }
};

}  // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setShowGrid(true);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setItemDelegate(new TGridCellDelegate(this));
  SetRowSelect(true);
}

void TStringGrid::SetDimensions(int colCount, int rowCount) {
  setColumnCount(colCount);
  setRowCount(rowCount);
  for (int row = 0; row < rowCount; ++row) {
    setRowHeight(row, kRowHeight);
    for (int col = 0; col < colCount; ++col) {
      if (item(row, col)) continue;
      auto* cell = new QTableWidgetItem();
      // Fixed cells take no selection; data cells can be selected but not edited.
      cell->setFlags(IsFixed(model()->index(row, col)) ? Qt::ItemIsEnabled
                                                      : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      setItem(row, col, cell);
    }
  }
  if (Row() < 1 && rowCount > 1 && colCount > 1) SetCurrentCell(1, 1);
}

void TStringGrid::SetColWidths(const std::vector<int>& widths) {
  for (int col = 0; col < static_cast<int>(widths.size()) && col < columnCount(); ++col)
    setColumnWidth(col, widths[col]);
}

void TStringGrid::SetRowSelect(bool rows) {
  setSelectionBehavior(rows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  setSelectionMode(rows ? QAbstractItemView::SingleSelection
                        : QAbstractItemView::ContiguousSelection);
}

std::string TStringGrid::Cell(int col, int row) const {
  const QTableWidgetItem* cell = item(row, col);
  return cell ? cell->text().toLocal8Bit().toStdString() : std::string();
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
  if (QTableWidgetItem* cell = item(row, col)) cell->setText(QString::fromLocal8Bit(text));
}

int TStringGrid::Row() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
}

void TStringGrid::SetCurrentCell(int col, int row) {
  setCurrentCell(row, col, QItemSelectionModel::ClearAndSelect);
}

bool TStringGrid::IsDataCell(const QModelIndex& index) const {
  return index.isValid() && !IsFixed(index);
}

QModelIndex TStringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  QModelIndex next = QTableWidget::moveCursor(action, modifiers);
  if (!next.isValid() || !IsFixed(next)) return next;
  const int row = std::max(next.row(), 1);
  const int col = std::max(next.column(), 1);
  if (row >= rowCount() || col >= columnCount()) return currentIndex();
  return model()->index(row, col);
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
  const int before = Row();
  QTableWidget::keyPressEvent(event);
  if (Row() != before && Row() >= 1) emit GridClick();
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
  pressedOnData_ = IsDataCell(indexAt(event->position().toPoint()));
  if (pressedOnData_) {
    QTableWidget::mousePressEvent(event);
  } else {
    setFocus(Qt::MouseFocusReason);
    event->accept();
  }
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event) {
  if (pressedOnData_ || event->buttons() == Qt::NoButton) QTableWidget::mouseMoveEvent(event);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressedOnData_ && event->button() == Qt::LeftButton;
  pressedOnData_ = false;
  QTableWidget::mouseReleaseEvent(event);
  if (click) emit GridClick();
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  // The release that follows belongs to the double-click, not to a new click.
  pressedOnData_ = false;
  event->accept();
  if (event->button() == Qt::LeftButton) emit GridDblClick();
}

}  // namespace editors
