#include "toolkit/MenuWindow.h"

#include <functional>

#include <qdrawutil.h>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QWindow>

#include "platform/linux/QtBridge.h"
#include "toolkit/Menus.h"

namespace tk {

namespace {

// Closes the menu when an entry it shows is destroyed while it is open, so the window
// never reads a dead entry.
class TMenuWatcher : public TComponent {
 public:
  explicit TMenuWatcher(std::function<void()> onRemove)
      : TComponent(nullptr), onRemove_(std::move(onRemove)) {}

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove) onRemove_();
  }

 private:
  std::function<void()> onRemove_;
};

QChar KeyOf(const TMenuItem& item) {
  const std::string& caption = item.Caption();
  char key = HotkeyOf(caption);
  // Entries without an access key answer to their first letter.
  if (key == '\0' && caption.find('&') == std::string::npos && !caption.empty()) key = caption[0];
  if (key == '\0') return QChar();
  const QString text = QString::fromLocal8Bit(&key, 1);
  return text.isEmpty() ? QChar() : text.at(0).toUpper();
}

}  // namespace

// One opening of a popup menu, shared by its windows.
struct TMenuTrack {
  TMenuWindow* root = nullptr;
  TMenuItem* chosen = nullptr;
  bool done = false;
  bool pressed = false;  // a button went down on the menu since it opened
  // Under Xwayland a popup gets no keyboard and no word of clicks elsewhere: the top
  // window is then one the compositor activates, and the menu closes when it loses the
  // focus. The submenus take no focus; the keys reach them through the top window.
  bool takesFocus = false;
  bool focused = false;  // the menu had the focus
  QEventLoop* loop = nullptr;
  // Closed submenu windows wait here until the menu is over; one may still be running
  // the handler that closed it.
  std::vector<std::unique_ptr<TMenuWindow>> closed;
  std::unique_ptr<TMenuWatcher> watcher;

  void Finish(TMenuItem* item);
};

namespace {
TMenuTrack* g_track = nullptr;
TMenuWindow::TShowObserver g_showObserver;
}  // namespace

void TMenuWindow::SetShowObserver(TShowObserver observer) {
  g_showObserver = std::move(observer);
}

void TMenuTrack::Finish(TMenuItem* item) {
  if (done) return;
  done = true;
  chosen = item;
  if (root) {
    root->CloseChild();
    root->closing_ = true;
    root->hide();
  }
  if (loop) loop->quit();
}

namespace {

Qt::WindowFlags MenuWindowFlags(bool top, const TMenuTrack& track) {
  if (!track.takesFocus) return Qt::Popup;
  // A submenu is placed by us and never takes the focus from the top window, like a tip.
  if (!top) return Qt::ToolTip | Qt::FramelessWindowHint;
  return Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
}

}  // namespace

TMenuWindow::TMenuWindow(TMenuItem* menu, TMenuWindow* parent, TMenuTrack* track)
    : QWidget(nullptr, MenuWindowFlags(parent == nullptr, *track)),
      menu_(menu),
      parent_(parent),
      track_(track) {
  setObjectName("JabberwellMenu");
  setWindowTitle("Jabberwell menu");
  if (parent_) {
    // Transient for the menu it opens from; else Qt names a window that is never shown,
    // which window managers warn of.
    winId();
    windowHandle()->setTransientParent(parent_->windowHandle());
  }
  if (track_->takesFocus && !parent_) {
    // A window the window manager manages may not call itself a popup menu.
    platform::ApplySkipTaskbar(this);
  } else {
    setAttribute(Qt::WA_X11NetWmWindowTypePopupMenu);
  }
  setMouseTracking(true);
  setFont(QApplication::font("QMenu"));
  setPalette(QApplication::palette("QMenu"));
  menu_->FreeNotification(track_->watcher.get());
  for (int i = 0; i < menu_->Count(); ++i) menu_->Items(i)->FreeNotification(track_->watcher.get());
  layout_ = LayoutMenu(*menu_, *this);
  resize(layout_.size);
  hoverTimer_.setSingleShot(true);
  hoverTimer_.setInterval(
      std::max(0, style()->styleHint(QStyle::SH_Menu_SubMenuPopupDelay, nullptr, this)));
  connect(&hoverTimer_, &QTimer::timeout, this, [this] { SyncChildWithCurrent(); });
}

TMenuWindow::~TMenuWindow() = default;

TMenuItem* TMenuWindow::Track(TPopupMenu& menu, int x, int y) {
  if (g_track || !qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  if (menu.Items()->Count() == 0) return nullptr;
  TMenuTrack track;
  track.watcher = std::make_unique<TMenuWatcher>([&track] { track.Finish(nullptr); });
  g_track = &track;
  track.takesFocus = platform::InWaylandSession();
  {
    std::unique_ptr<TMenuWindow> root(new TMenuWindow(menu.Items(), nullptr, &track));
    track.root = root.get();
    root->PlaceAt(QPoint(x, y));
    root->show();
    if (track.takesFocus) root->TakeFocus();
    if (g_showObserver) g_showObserver(*root);
    QEventLoop loop;
    track.loop = &loop;
    if (!track.done) loop.exec();
    // Terminate ends every loop, this one included, without a choice.
    track.Finish(nullptr);
    track.loop = nullptr;
    root->CloseChild();
    track.closed.clear();
  }
  g_track = nullptr;
  return track.chosen;
}

TMenuWindow* TMenuWindow::Innermost() {
  if (!g_track || g_track->done || !g_track->root) return nullptr;
  TMenuWindow* w = g_track->root;
  while (w->child_) w = w->child_.get();
  return w;
}

bool TMenuWindow::ChoosePath(const std::vector<std::string>& captions) {
  if (!Innermost() || captions.empty()) return false;
  TMenuWindow* w = g_track->root;
  for (size_t level = 0; level < captions.size(); ++level) {
    int found = -1;
    for (size_t i = 0; i < w->layout_.cells.size() && found < 0; ++i) {
      const TMenuItem* item = w->layout_.cells[i].item;
      if (!item->IsLine() && StripHotkey(item->Caption()) == StripHotkey(captions[level])) {
        found = static_cast<int>(i);
      }
    }
    if (found < 0) return false;
    TMenuItem* item = w->layout_.cells[found].item;
    if (!item->Enabled()) return false;
    if (level + 1 == captions.size()) {
      if (item->Count() > 0) return false;
      g_track->Finish(item);
      return true;
    }
    if (item->Count() == 0) return false;
    w->SetCurrent(found, false);
    if (!w->child_ || w->child_->menu_ != item) {
      w->CloseChild();
      w->OpenChild(false);
    }
    w = w->child_.get();
  }
  return false;
}

void TMenuWindow::CloseAll() {
  if (g_track) g_track->Finish(nullptr);
}

TMenuItem* TMenuWindow::Current() const {
  return current_ >= 0 ? layout_.cells[current_].item : nullptr;
}

bool TMenuWindow::Selectable(int index, bool byKeyboard) const {
  if (index < 0 || index >= static_cast<int>(layout_.cells.size())) return false;
  const TMenuItem* item = layout_.cells[index].item;
  if (item->IsLine()) return false;
  if (item->Enabled()) return true;
  return !byKeyboard ||
         style()->styleHint(QStyle::SH_Menu_AllowActiveAndDisabled, nullptr, this) != 0;
}

void TMenuWindow::SetCurrent(int index, bool byMouse) {
  if (index != current_) {
    current_ = index;
    update();
  }
  if (byMouse) hoverTimer_.start();
}

void TMenuWindow::MoveInColumn(int delta) {
  if (current_ < 0) {
    SelectEdge(delta > 0);
    return;
  }
  const TMenuLayout::Cell& cell = layout_.cells[current_];
  const int size = layout_.ColumnSize(cell.column);
  for (int step = 1; step <= size; ++step) {
    const int row = ((cell.row + delta * step) % size + size) % size;
    const int index = layout_.CellOf(cell.column, row);
    if (Selectable(index, true)) {
      SetCurrent(index, false);
      return;
    }
  }
}

void TMenuWindow::MoveToColumn(int column) {
  const int row = current_ < 0 ? 0 : layout_.cells[current_].row;
  const int size = layout_.ColumnSize(column);
  // The same row when the column has it, else the nearest selectable entry above it.
  for (int r = std::min(row, size - 1); r >= 0; --r) {
    if (Selectable(layout_.CellOf(column, r), true))
      return SetCurrent(layout_.CellOf(column, r), false);
  }
  for (int r = row + 1; r < size; ++r) {
    if (Selectable(layout_.CellOf(column, r), true))
      return SetCurrent(layout_.CellOf(column, r), false);
  }
}

void TMenuWindow::SelectEdge(bool first) {
  const int count = static_cast<int>(layout_.cells.size());
  for (int i = 0; i < count; ++i) {
    const int index = first ? i : count - 1 - i;
    if (Selectable(index, true)) return SetCurrent(index, false);
  }
}

void TMenuWindow::Activate(int index) {
  if (index < 0) return;
  TMenuItem* item = layout_.cells[index].item;
  if (item->IsLine() || !item->Enabled()) return;
  if (item->Count() == 0) return track_->Finish(item);
  SetCurrent(index, false);
  CloseChild();
  OpenChild(true);
}

void TMenuWindow::AccessKey(const QString& text) {
  const QChar key = text.at(0).toUpper();
  std::vector<int> matches;
  for (size_t i = 0; i < layout_.cells.size(); ++i) {
    const TMenuItem& item = *layout_.cells[i].item;
    if (!item.IsLine() && KeyOf(item) == key) matches.push_back(static_cast<int>(i));
  }
  if (matches.empty()) return;
  if (matches.size() == 1) {
    if (layout_.cells[matches[0]].item->Enabled()) return Activate(matches[0]);
    return SetCurrent(matches[0], false);
  }
  // Several entries share the key: each press moves on to the next of them.
  for (int index : matches) {
    if (index > current_) return SetCurrent(index, false);
  }
  SetCurrent(matches[0], false);
}

void TMenuWindow::OpenChild(bool selectFirst) {
  TMenuItem* item = Current();
  if (!item || item->Count() == 0 || track_->done) return;
  hoverTimer_.stop();
  child_.reset(new TMenuWindow(item, this, track_));
  const QRect cell = layout_.cells[current_].rect;
  child_->PlaceBeside(QRect(mapToGlobal(cell.topLeft()), cell.size()));
  child_->show();
  if (g_showObserver) g_showObserver(*child_);
  if (selectFirst) child_->SelectEdge(true);
}

void TMenuWindow::CloseChild() {
  if (!child_) return;
  child_->CloseChild();
  child_->closing_ = true;
  child_->hide();
  track_->closed.push_back(std::move(child_));
}

void TMenuWindow::SyncChildWithCurrent() {
  TMenuItem* item = Current();
  if (item && item->Count() > 0 && item->Enabled()) {
    if (child_ && child_->menu_ == item) return;
    CloseChild();
    OpenChild(false);
  } else {
    CloseChild();
  }
}

void TMenuWindow::PlaceAt(const QPoint& point) {
  QScreen* screen = QGuiApplication::screenAt(point);
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(point, size());
  const QSize s = size();
  // Open to the left of or above the point when the menu would leave the screen.
  int x = point.x();
  if (x + s.width() > area.right() + 1) x = point.x() - s.width();
  int y = point.y();
  if (y + s.height() > area.bottom() + 1) y = point.y() - s.height();
  setGeometry(QRect(QPoint(std::max(x, area.left()), std::max(y, area.top())), s));
}

void TMenuWindow::PlaceBeside(const QRect& item) {
  QScreen* screen = QGuiApplication::screenAt(item.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : item;
  const QStyle* st = parent_->style();
  const int margin = st->pixelMetric(QStyle::PM_MenuHMargin, nullptr, parent_) +
                     st->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, parent_);
  const int overlap = st->pixelMetric(QStyle::PM_SubMenuOverlap, nullptr, parent_);
  const QSize s = size();
  int x = item.right() + 1 + margin + overlap;
  if (x + s.width() > area.right() + 1) x = item.left() - margin - overlap - s.width();
  // The first entry of the submenu lines up with its entry in the parent.
  const int top = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this) +
                  style()->pixelMetric(QStyle::PM_MenuVMargin, nullptr, this);
  int y = item.top() - top;
  if (y + s.height() > area.bottom() + 1) y = area.bottom() + 1 - s.height();
  setGeometry(QRect(QPoint(std::max(x, area.left()), std::max(y, area.top())), s));
}

TMenuWindow* TMenuWindow::WindowAt(const QPoint& global) {
  TMenuWindow* w = track_->root;
  while (w && w->child_) w = w->child_.get();
  for (; w; w = w->parent_) {
    if (w->isVisible() && w->geometry().contains(global)) return w;
  }
  return nullptr;
}

void TMenuWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOptionMenuItem panel;
  panel.initFrom(this);
  panel.state = QStyle::State_None;
  panel.checkType = QStyleOptionMenuItem::NotCheckable;
  panel.maxIconWidth = 0;
  panel.reservedShortcutWidth = 0;
  style()->drawPrimitive(QStyle::PE_PanelMenu, &panel, &p, this);
  panel.menuItemType = QStyleOptionMenuItem::EmptyArea;
  panel.rect = rect();
  panel.menuRect = rect();
  style()->drawControl(QStyle::CE_MenuEmptyArea, &panel, &p, this);

  for (size_t i = 0; i < layout_.cells.size(); ++i) {
    QStyleOptionMenuItem option;
    InitMenuItemOption(option, layout_, *layout_.cells[i].item, *this,
                       static_cast<int>(i) == current_);
    option.rect = layout_.cells[i].rect;
    p.save();
    p.setClipRect(option.rect);
    style()->drawControl(QStyle::CE_MenuItem, &option, &p, this);
    p.restore();
  }

  const int fw = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
  const int inset = fw + style()->pixelMetric(QStyle::PM_MenuVMargin, nullptr, this);
  for (int x : layout_.bars) {
    qDrawShadeLine(&p, QPoint(x, inset), QPoint(x, height() - 1 - inset), palette(), true, 1, 0);
  }

  if (fw > 0) {
    QStyleOptionFrame frame;
    frame.rect = rect();
    frame.palette = palette();
    frame.state = QStyle::State_None;
    frame.lineWidth = fw;
    frame.midLineWidth = 0;
    style()->drawPrimitive(QStyle::PE_FrameMenu, &frame, &p, this);
  }
}

void TMenuWindow::TakeFocus() {
  platform::TakeKeyboardFocus(this);
  // The window manager may not have taken the window on yet: once more a moment later.
  QTimer::singleShot(250, this, [this] {
    if (!track_->done && !ChainActive()) platform::TakeKeyboardFocus(this);
  });
}

bool TMenuWindow::ChainActive() const {
  const QWidget* active = QApplication::activeWindow();
  for (const TMenuWindow* w = track_->root; w; w = w->child_.get()) {
    if (w == active) return true;
  }
  return false;
}

void TMenuWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !track_->takesFocus) return;
  if (isActiveWindow()) {
    track_->focused = true;
    return;
  }
  // Asked once the activation settled: the focus may only have moved within the menu.
  if (track_->focused) {
    QTimer::singleShot(0, this, [this] {
      if (!track_->done && !ChainActive()) track_->Finish(nullptr);
    });
  }
}

void TMenuWindow::keyPressEvent(QKeyEvent* event) {
  // Keys reach the window with the focus; they are for the innermost menu.
  TMenuWindow* innermost = this;
  while (innermost->child_) innermost = innermost->child_.get();
  if (innermost != this) return innermost->keyPressEvent(event);
  const int column = current_ < 0 ? -1 : layout_.cells[current_].column;
  switch (event->key()) {
    case Qt::Key_Up:
      return MoveInColumn(-1);
    case Qt::Key_Down:
      return MoveInColumn(1);
    case Qt::Key_Home:
      return SelectEdge(true);
    case Qt::Key_End:
      return SelectEdge(false);
    case Qt::Key_Left:
      if (column > 0) return MoveToColumn(column - 1);
      if (parent_) return parent_->CloseChild();
      if (column < 0) SelectEdge(true);
      return;
    case Qt::Key_Right: {
      const TMenuItem* item = Current();
      if (item && item->Count() > 0 && item->Enabled()) return Activate(current_);
      if (column < 0) return SelectEdge(true);
      if (column + 1 < layout_.Columns()) MoveToColumn(column + 1);
      return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Activate(current_);
    case Qt::Key_Escape:
      if (parent_) return parent_->CloseChild();
      return track_->Finish(nullptr);
    default:
      break;
  }
  const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::ShiftModifier | Qt::AltModifier);
  if (mods == Qt::NoModifier && !event->text().isEmpty() && event->text().at(0).isPrint()) {
    AccessKey(event->text());
  }
}

void TMenuWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  TMenuWindow* w = WindowAt(global);
  if (!w) return;
  const int index = w->layout_.CellAt(w->mapFromGlobal(global));
  if (w->Selectable(index, false)) {
    w->SetCurrent(index, true);
  } else if (!w->child_) {
    w->SetCurrent(-1, true);
  }
}

void TMenuWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  TMenuWindow* w = WindowAt(global);
  // A press outside every window of the menu closes it.
  if (!w) return track_->Finish(nullptr);
  track_->pressed = true;
  const int index = w->layout_.CellAt(w->mapFromGlobal(global));
  if (!w->Selectable(index, false)) return;
  w->SetCurrent(index, false);
  const TMenuItem* item = w->Current();
  if (item->Count() > 0 && item->Enabled() && (!w->child_ || w->child_->menu_ != item)) {
    w->CloseChild();
    w->OpenChild(false);
  }
}

void TMenuWindow::mouseReleaseEvent(QMouseEvent* event) {
  // The release of the click that opened the menu chooses nothing.
  if (!track_->pressed) return;
  const QPoint global = event->globalPosition().toPoint();
  TMenuWindow* w = WindowAt(global);
  if (!w) return;
  const int index = w->layout_.CellAt(w->mapFromGlobal(global));
  if (index < 0) return;
  TMenuItem* item = w->layout_.cells[index].item;
  if (!item->IsLine() && item->Enabled() && item->Count() == 0) track_->Finish(item);
}

void TMenuWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // Qt closes popups on its own, e.g. when another application takes the focus.
  if (!closing_ && !track_->done) track_->Finish(nullptr);
}

}  // namespace tk
