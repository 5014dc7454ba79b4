#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTimer>
#include <QWidget>

#include "toolkit/MenuLayout.h"

namespace tk {

class TMenuItem;
class TPopupMenu;
struct TMenuTrack;

// The window that shows one level of a popup menu, drawn with the style's own menu
// primitives so it looks like the desktop's menus, but with columns exactly where the
// entries ask for them. Submenus open in windows of their own beside their entry.
class TMenuWindow : public QWidget {
  Q_OBJECT

 public:
  ~TMenuWindow() override;

  // Shows `menu` at a screen point, kept on the screen, and returns when it closes: the
  // chosen entry, or null when the menu was left without a choice.
  static TMenuItem* Track(TPopupMenu& menu, int x, int y);

  // For tests: the innermost open menu window (null when no menu is open), choosing an
  // entry by the captions that lead to it, and closing without a choice.
  static TMenuWindow* Innermost();
  static bool ChoosePath(const std::vector<std::string>& captions);
  static void CloseAll();
  // For tests: runs each time a menu window shows, while set; the journeys' event log
  // uses it.
  using TShowObserver = std::function<void(const TMenuWindow&)>;
  static void SetShowObserver(TShowObserver observer);

  const TMenuLayout& Layout() const { return layout_; }
  TMenuItem* Menu() const { return menu_; }
  TMenuItem* Current() const;
  TMenuWindow* Child() const { return child_.get(); }
  TMenuWindow* ParentMenuWindow() const { return parent_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend struct TMenuTrack;
  TMenuWindow(TMenuItem* menu, TMenuWindow* parent, TMenuTrack* track);

  bool Selectable(int index, bool byKeyboard) const;
  void SetCurrent(int index, bool byMouse);
  void MoveInColumn(int delta);
  void MoveToColumn(int column);
  void SelectEdge(bool first);
  void Activate(int index);
  void AccessKey(const QString& text);
  void OpenChild(bool selectFirst);
  void CloseChild();
  void SyncChildWithCurrent();
  void PlaceAt(const QPoint& point);
  void PlaceBeside(const QRect& item);
  // Asks for the keyboard, for a top window that takes the focus.
  void TakeFocus();
  // Whether the active window is one of this menu's.
  bool ChainActive() const;
  // The window of this chain under a screen point, innermost first, or null.
  TMenuWindow* WindowAt(const QPoint& global);

  TMenuItem* menu_;
  TMenuWindow* parent_;
  TMenuTrack* track_;
  TMenuLayout layout_;
  int current_ = -1;
  std::unique_ptr<TMenuWindow> child_;
  QTimer hoverTimer_;
  bool closing_ = false;
};

}  // namespace tk
