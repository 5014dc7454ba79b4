#include "editors/StringGrid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

namespace editors {

namespace {

constexpr int kTextMargin = 2;

QString Q(const std::string& text) {
  return QString::fromLocal8Bit(text);
}
std::string S(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

// Data cells: the text left-aligned on the base colour, or on the highlight when
// selected, with a dotted frame round the current cell.
class TDataCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QPalette& pal = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
    painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter->drawText(option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
      QPen dots(painter->pen().color());
      dots.setStyle(Qt::DotLine);
      painter->setPen(dots);
      painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }
};

void SetUpFixedHeader(QHeaderView* header) {
  header->setSectionsClickable(false);
  header->setHighlightSections(false);
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setMinimumSectionSize(1);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent) {
  SetUpFixedHeader(horizontalHeader());
  SetUpFixedHeader(verticalHeader());
  horizontalHeader()->setFixedHeight(kRowHeight);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->viewport()->installEventFilter(this);
  verticalHeader()->viewport()->installEventFilter(this);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Whole rows, so the top row is never shown cut.
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setItemDelegate(new TDataCellDelegate(this));
  // The corner is cell (0, 0); the table draws it as an empty header section.
  corner_ = findChild<QAbstractButton*>();
  if (corner_) corner_->installEventFilter(this);
  SetRowSelect(true);
}

void TStringGrid::SetDimensions(int colCount, int rowCount) {
  setColumnCount(std::max(colCount - 1, 0));
  setRowCount(std::max(rowCount - 1, 0));
  for (int row = 0; row < this->rowCount(); ++row) {
    setRowHeight(row, kRowHeight);
    if (!verticalHeaderItem(row)) setVerticalHeaderItem(row, new QTableWidgetItem());
    for (int col = 0; col < columnCount(); ++col) {
      if (item(row, col)) continue;
      auto* cell = new QTableWidgetItem();
      cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      setItem(row, col, cell);
    }
  }
  for (int col = 0; col < columnCount(); ++col) {
    if (!horizontalHeaderItem(col)) setHorizontalHeaderItem(col, new QTableWidgetItem());
  }
  if (Row() < 1 && this->rowCount() > 0 && columnCount() > 0) SetCurrentCell(1, 1);
}

void TStringGrid::SetColWidths(const std::vector<int>& widths) {
  for (int col = 0; col < static_cast<int>(widths.size()) && col < ColCount(); ++col) {
    if (col == 0) {
      verticalHeader()->setFixedWidth(widths[0]);
    } else {
      setColumnWidth(col - 1, widths[col]);
    }
  }
}

int TStringGrid::ColWidth(int col) const {
  return col == 0 ? verticalHeader()->width() : columnWidth(col - 1);
}

int TStringGrid::RowHeight(int row) const {
  return row == 0 ? horizontalHeader()->height() : rowHeight(row - 1);
}

void TStringGrid::SetRowSelect(bool rows) {
  setSelectionBehavior(rows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  setSelectionMode(rows ? QAbstractItemView::SingleSelection
                        : QAbstractItemView::ContiguousSelection);
}

QTableWidgetItem* TStringGrid::FixedItem(int col, int row) const {
  if (row == 0 && col > 0) return horizontalHeaderItem(col - 1);
  if (col == 0 && row > 0) return verticalHeaderItem(row - 1);
  return nullptr;
}

std::string TStringGrid::Cell(int col, int row) const {
  if (col == 0 && row == 0) return cornerText_;
  const QTableWidgetItem* cell =
      row == 0 || col == 0 ? FixedItem(col, row) : item(row - 1, col - 1);
  return cell ? S(cell->text()) : std::string();
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
  if (col == 0 && row == 0) {
    cornerText_ = text;
    if (corner_) corner_->update();
    return;
  }
  QTableWidgetItem* cell = row == 0 || col == 0 ? FixedItem(col, row) : item(row - 1, col - 1);
  if (cell) cell->setText(Q(text));
}

int TStringGrid::Row() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() + 1 : -1;
}

int TStringGrid::Col() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.column() + 1 : -1;
}

void TStringGrid::SetCurrentCell(int col, int row) {
  QItemSelectionModel::SelectionFlags command = QItemSelectionModel::ClearAndSelect;
  if (selectionBehavior() == QAbstractItemView::SelectRows) command |= QItemSelectionModel::Rows;
  setCurrentCell(row - 1, col - 1, command);
}

void TStringGrid::ShowRow(int row) {
  scrollTo(model()->index(row - 1, std::max(Col() - 1, 0)));
}

QRect TStringGrid::CellRect(int col, int row) const {
  return visualRect(model()->index(row - 1, col - 1));
}

void TStringGrid::PaintCorner(QWidget* corner) {
  QStyleOptionHeader option;
  option.initFrom(corner);
  // The corner button is disabled, but it is drawn like the other fixed cells.
  option.state |= QStyle::State_Enabled;
  option.palette.setCurrentColorGroup(QPalette::Active);
  option.rect = corner->rect();
  option.position = QStyleOptionHeader::OnlyOneSection;
  option.text = Q(cornerText_);
  option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  QPainter painter(corner);
  style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_ && event->type() == QEvent::Paint) {
    PaintCorner(corner_);
    return true;
  }
  // The fixed cells take no click, but a double-click on them is one on the grid.
  if (watched != corner_ && event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    emit GridDblClick();
    return true;
  }
  return QTableWidget::eventFilter(watched, event);
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
  const int before = Row();
  QTableWidget::keyPressEvent(event);
  if (Row() != before && Row() >= 1) emit GridClick();
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
  pressedOnData_ = indexAt(event->position().toPoint()).isValid();
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
