#include "toolkit/MenuLayout.h"

#include <algorithm>

#include <QFontMetrics>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QWidget>

#include "toolkit/Menus.h"

namespace tk {

namespace {

// Room on each side of the bar between two columns.
constexpr int kBarMargin = 3;

QString TextOf(const TMenuItem& item) {
  return QString::fromLocal8Bit(item.Caption());
}

// The caption as drawn: cut with an ellipsis where it is wider than the layout allows,
// the shortcut after a tab kept whole.
QString ShownText(const TMenuItem& item, const TMenuLayout& layout, const QFontMetrics& fm) {
  const QString text = TextOf(item);
  const int tab = text.indexOf('\t');
  const QString caption = fm.elidedText(tab < 0 ? text : text.left(tab), Qt::ElideRight,
                                        layout.captionWidth, Qt::TextShowMnemonic);
  return tab < 0 ? caption : caption + text.mid(tab);
}

}  // namespace

int TMenuLayout::ColumnSize(int column) const {
  if (column < 0 || column >= Columns()) return 0;
  const int end = column + 1 < Columns() ? columnFirst[column + 1] : static_cast<int>(cells.size());
  return end - columnFirst[column];
}

int TMenuLayout::CellOf(int column, int row) const {
  if (row < 0 || row >= ColumnSize(column)) return -1;
  return columnFirst[column] + row;
}

int TMenuLayout::CellAt(const QPoint& point) const {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (cells[i].rect.contains(point)) return static_cast<int>(i);
  }
  return -1;
}

void InitMenuItemOption(QStyleOptionMenuItem& option, const TMenuLayout& layout,
                        const TMenuItem& item, const QWidget& widget, bool selected) {
  option.initFrom(&widget);
  option.palette = widget.palette();
  option.state = QStyle::State_Active;
  if (item.Enabled()) {
    option.state |= QStyle::State_Enabled;
  } else {
    option.palette.setCurrentColorGroup(QPalette::Disabled);
  }
  if (selected && !item.IsLine()) option.state |= QStyle::State_Selected;
  option.font = widget.font();
  option.fontMetrics = QFontMetrics(option.font);
  option.menuHasCheckableItems = layout.checkable;
  if (item.RadioItem()) {
    option.checkType = QStyleOptionMenuItem::Exclusive;
  } else if (item.Checked()) {
    option.checkType = QStyleOptionMenuItem::NonExclusive;
  } else {
    option.checkType = QStyleOptionMenuItem::NotCheckable;
  }
  option.checked = item.Checked();
  if (item.IsLine()) {
    option.menuItemType = QStyleOptionMenuItem::Separator;
  } else if (item.Count() > 0) {
    option.menuItemType = QStyleOptionMenuItem::SubMenu;
  } else {
    option.menuItemType = QStyleOptionMenuItem::Normal;
  }
  option.text = item.IsLine() ? QString() : ShownText(item, layout, option.fontMetrics);
  option.reservedShortcutWidth = layout.tabWidth;
  option.maxIconWidth = 0;
  option.menuRect = widget.rect();
}

TMenuLayout LayoutMenu(const TMenuItem& menu, const QWidget& widget) {
  TMenuLayout layout;
  const QStyle* style = widget.style();
  const int fw = style->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &widget);
  const int hmargin = style->pixelMetric(QStyle::PM_MenuHMargin, nullptr, &widget);
  const int vmargin = style->pixelMetric(QStyle::PM_MenuVMargin, nullptr, &widget);
  const QFontMetrics fm(widget.font());
  // A third of the screen: a menu and its submenu then fit side by side.
  const QScreen* screen = widget.screen();
  layout.captionWidth = screen ? screen->availableGeometry().width() / 3 : QWIDGETSIZE_MAX;

  for (int i = 0; i < menu.Count(); ++i) {
    const TMenuItem& item = *menu.Items(i);
    if (item.RadioItem() || item.Checked()) layout.checkable = true;
    const QString text = TextOf(item);
    const int tab = text.indexOf('\t');
    if (!item.IsLine() && tab >= 0) {
      layout.tabWidth = std::max(layout.tabWidth, fm.horizontalAdvance(text.mid(tab + 1)));
    }
  }

  // Measure each entry and deal the entries into columns.
  std::vector<int> columnWidth;
  for (int i = 0; i < menu.Count(); ++i) {
    TMenuItem* item = menu.Items(i);
    if (i == 0 || item->Break() != TMenuBreak::mbNone) {
      layout.columnFirst.push_back(i);
      columnWidth.push_back(0);
    }
    QStyleOptionMenuItem option;
    InitMenuItemOption(option, layout, *item, widget, false);
    QSize contents(2, 2);
    if (!item->IsLine()) {
      QString text = option.text;
      if (text.indexOf('\t') >= 0) text = text.left(text.indexOf('\t'));
      contents =
          QSize(fm.boundingRect(QRect(), Qt::TextSingleLine | Qt::TextShowMnemonic, text).width(),
                fm.height());
    }
    const QSize size = style->sizeFromContents(QStyle::CT_MenuItem, &option, contents, &widget);
    TMenuLayout::Cell cell;
    cell.item = item;
    cell.column = layout.Columns() - 1;
    cell.row = i - layout.columnFirst.back();
    cell.rect = QRect(QPoint(0, 0), size);
    columnWidth.back() = std::max(columnWidth.back(), size.width() + layout.tabWidth);
    layout.cells.push_back(cell);
  }

  // Place the columns side by side; every entry of a column gets the column's width.
  const int top = fw + vmargin;
  int x = fw + hmargin;
  int bottom = top;
  for (int c = 0; c < layout.Columns(); ++c) {
    if (c > 0) {
      const TMenuItem* first = layout.cells[layout.columnFirst[c]].item;
      if (first->Break() == TMenuBreak::mbBarBreak) layout.bars.push_back(x + kBarMargin);
      x += 2 * kBarMargin + 2;
    }
    int y = top;
    for (int r = 0; r < layout.ColumnSize(c); ++r) {
      QRect& rect = layout.cells[layout.CellOf(c, r)].rect;
      rect = QRect(x, y, columnWidth[c], rect.height());
      y += rect.height();
    }
    bottom = std::max(bottom, y);
    x += columnWidth[c];
  }
  const QSize inner(x + hmargin + fw, bottom + vmargin + fw);
  QStyleOption option;
  option.initFrom(&widget);
  layout.size = style->sizeFromContents(QStyle::CT_Menu, &option, inner, &widget);
  return layout;
}

}  // namespace tk
