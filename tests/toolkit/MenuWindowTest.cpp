#include "toolkit/MenuWindow.h"

#include <cstdlib>

#include <gtest/gtest.h>
#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include "Later.h"
#include "platform/WindowHandles.h"
#include "toolkit/Menus.h"

namespace tk {
namespace {

class MenuWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureToolkitApp();
    Add(menu.Items(), "&About");
    Add(menu.Items(), "&Configuration");
    timer = Add(menu.Items(), "Timer");
    for (const char* caption : {"Off", "2 Minutes", "5 Minutes"}) {
      Add(timer, caption)->SetRadioItem(true);
    }
    timer->Items(0)->SetChecked(true);
    Add(menu.Items(), "&Quit Program");
    Add(menu.Items(), "-");
    Add(menu.Items(), "External Sounds");
    unit = Add(menu.Items(), "Unit");
    // Breaks on the 21st and 42nd clip, as the catalogue sets them.
    for (int i = 1; i <= 45; ++i) {
      Add(unit, "Clip " + std::to_string(i))
          ->SetBreak(i % 21 == 0 ? TMenuBreak::mbBarBreak : TMenuBreak::mbNone);
    }
  }

  TMenuItem* Add(TMenuItem* parent, const std::string& caption) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    item->OnClick = [this](TComponent* sender) {
      clicked.push_back(static_cast<TMenuItem*>(sender)->Caption());
      openAtClick = TMenuWindow::Innermost() != nullptr;
    };
    parent->Add(item);
    return item;
  }

  // Opens the menu at a point, runs the steps while it is open, then makes sure it shut.
  void PopupWith(std::function<void()> steps, QPoint at = QPoint(100, 50)) {
    Later([steps] {
      steps();
      TMenuWindow::CloseAll();
    });
    menu.Popup(at.x(), at.y());
    EXPECT_EQ(TMenuWindow::Innermost(), nullptr);
  }

  static void Key(int key, const QString& text = QString()) {
    TMenuWindow* w = TMenuWindow::Innermost();
    ASSERT_NE(w, nullptr);
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &event);
  }

  // Runs the event loop until `done` holds, for at most `ms`.
  static bool Settles(const std::function<bool()>& done, int ms = 1000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
  }

  static std::string CurrentCaption() {
    TMenuWindow* w = TMenuWindow::Innermost();
    return w && w->Current() ? w->Current()->Caption() : "";
  }

  // Presses or releases the left button over a cell of `window`, sent where Qt sends it:
  // to the innermost window, which holds the grab.
  static void Mouse(QEvent::Type type, TMenuWindow* window, int cell) {
    const QPoint local = window->Layout().cells[cell].rect.center();
    QMouseEvent event(type, local, window->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(TMenuWindow::Innermost(), &event);
  }

  TPopupMenu menu{nullptr};
  TMenuItem* timer = nullptr;
  TMenuItem* unit = nullptr;
  std::vector<std::string> clicked;
  bool openAtClick = false;
};

TEST_F(MenuWindowTest, ColumnsStartExactlyAtTheBreaks) {
  PopupWith([this] {
    ASSERT_TRUE(TMenuWindow::Innermost());
    Key(Qt::Key_End);
    Key(Qt::Key_Right);
    TMenuWindow* w = TMenuWindow::Innermost();
    ASSERT_EQ(w->Menu(), unit);
    const TMenuLayout& layout = w->Layout();
    ASSERT_EQ(layout.Columns(), 3);
    EXPECT_EQ(layout.ColumnSize(0), 20);
    EXPECT_EQ(layout.ColumnSize(1), 21);
    EXPECT_EQ(layout.ColumnSize(2), 4);
    EXPECT_EQ(layout.cells[20].item->Caption(), "Clip 21");
    EXPECT_EQ(layout.cells[41].item->Caption(), "Clip 42");
    ASSERT_EQ(layout.bars.size(), 2u);
    for (int c = 1; c < 3; ++c) {
      const QRect prev = layout.cells[layout.CellOf(c - 1, 0)].rect;
      const QRect first = layout.cells[layout.CellOf(c, 0)].rect;
      EXPECT_EQ(first.top(), prev.top());
      EXPECT_GT(layout.bars[c - 1], prev.right());
      EXPECT_LT(layout.bars[c - 1], first.left());
    }
    for (const auto& cell : layout.cells) EXPECT_TRUE(w->rect().contains(cell.rect));
    EXPECT_EQ(w->size(), layout.size);
    // It opened beside its entry, and nothing left the screen.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(w->geometry()));
    EXPECT_EQ(w->ParentMenuWindow()->Menu(), menu.Items());

    if (const char* dir = std::getenv("JBW_MENU_SHOT")) {
      Key(Qt::Key_Right);
      Key(Qt::Key_Down);
      w->grab().save(QString::fromLocal8Bit(dir) + "/menu-three-columns.png");
      w->ParentMenuWindow()->grab().save(QString::fromLocal8Bit(dir) + "/menu-top.png");
    }
  });
}

TEST_F(MenuWindowTest, PlainBreaksMakeColumnsWithoutABar) {
  unit->Items(0)->SetBreak(TMenuBreak::mbBarBreak);  // a break on the first entry adds nothing
  unit->Items(20)->SetBreak(TMenuBreak::mbBreak);
  QWidget widget;
  const TMenuLayout layout = LayoutMenu(*unit, widget);
  EXPECT_EQ(layout.Columns(), 3);
  EXPECT_EQ(layout.ColumnSize(0), 20);
  EXPECT_EQ(layout.bars.size(), 1u);
  EXPECT_FALSE(layout.checkable);
  EXPECT_TRUE(LayoutMenu(*timer, widget).checkable);
}

TEST_F(MenuWindowTest, ArrowKeysWalkColumnsAndSubmenusAndEnterChooses) {
  PopupWith([this] {
    Key(Qt::Key_Down);
    EXPECT_EQ(CurrentCaption(), "&About");
    Key(Qt::Key_Up);  // wraps to the last entry
    EXPECT_EQ(CurrentCaption(), "Unit");
    Key(Qt::Key_Right);  // into the submenu, on its first entry
    EXPECT_EQ(CurrentCaption(), "Clip 1");
    Key(Qt::Key_Right);
    EXPECT_EQ(CurrentCaption(), "Clip 21");
    Key(Qt::Key_Right);
    EXPECT_EQ(CurrentCaption(), "Clip 42");
    for (int i = 0; i < 4; ++i) Key(Qt::Key_Down);  // wraps inside the short column
    EXPECT_EQ(CurrentCaption(), "Clip 42");
    Key(Qt::Key_Left);
    Key(Qt::Key_Up);
    EXPECT_EQ(CurrentCaption(), "Clip 41");
    Key(Qt::Key_Right);  // row 21 does not exist there: the last row instead
    EXPECT_EQ(CurrentCaption(), "Clip 45");
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(CurrentCaption(), "Clip 4");
    Key(Qt::Key_Left);  // out of the submenu
    EXPECT_EQ(TMenuWindow::Innermost()->Menu(), menu.Items());
    EXPECT_EQ(CurrentCaption(), "Unit");
    Key(Qt::Key_Return);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
  });
  EXPECT_EQ(clicked, std::vector<std::string>{"Clip 2"});
  EXPECT_FALSE(openAtClick);
}

TEST_F(MenuWindowTest, EscapeClosesOneLevelAndThenTheMenu) {
  bool stillOpen = false;
  PopupWith([&] {
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(TMenuWindow::Innermost()->Menu(), timer);
    Key(Qt::Key_Escape);
    EXPECT_EQ(CurrentCaption(), "Timer");
    Key(Qt::Key_Escape);
    stillOpen = TMenuWindow::Innermost() != nullptr;
  });
  EXPECT_FALSE(stillOpen);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(MenuWindowTest, TheShowObserverSeesEachWindowShownWithItsColumns) {
  std::vector<std::string> shown;
  TMenuWindow::SetShowObserver([&](const TMenuWindow& w) {
    shown.push_back(w.Menu()->Caption() + " " + std::to_string(w.Layout().Columns()) +
                    (w.isVisible() ? " visible" : " hidden"));
  });
  PopupWith([] {
    Key(Qt::Key_Up);
    Key(Qt::Key_Right);
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
  });
  TMenuWindow::SetShowObserver(nullptr);
  PopupWith([] {});
  EXPECT_EQ(shown, (std::vector<std::string>{" 1 visible", "Unit 3 visible", "Unit 3 visible"}));
}

TEST_F(MenuWindowTest, AccessKeysChooseOrCycleAndSkipDoubledAmpersands) {
  for (int i = menu.Items()->Count() - 1; i >= 0; --i) delete menu.Items()->Items(i);
  Add(menu.Items(), "&Apple");
  Add(menu.Items(), "A&&B");
  Add(menu.Items(), "&Avocado");
  Add(menu.Items(), "Salt && Pepper");
  Add(menu.Items(), "Disabled &Item")->SetEnabled(false);
  Add(menu.Items(), "Zebra");
  PopupWith([] {
    Key('A', "a");
    EXPECT_EQ(CurrentCaption(), "&Apple");
    Key('A', "a");
    EXPECT_EQ(CurrentCaption(), "&Avocado");
    Key('S', "s");  // "&&" marks no key
    EXPECT_EQ(CurrentCaption(), "&Avocado");
    Key('I', "i");  // a disabled entry is only selected
    EXPECT_EQ(CurrentCaption(), "Disabled &Item");
    Key('Z', "z");  // an entry without a mark answers to its first letter
  });
  EXPECT_EQ(clicked, std::vector<std::string>{"Zebra"});
}

TEST_F(MenuWindowTest, MouseChoosesOnReleaseAndOpensSubmenusOnPress) {
  PopupWith([this] {
    TMenuWindow* root = TMenuWindow::Innermost();
    // The release of the click that opened the menu is not a choice.
    Mouse(QEvent::MouseButtonRelease, root, 0);
    ASSERT_EQ(TMenuWindow::Innermost(), root);
    Mouse(QEvent::MouseButtonPress, root, 2);
    TMenuWindow* sub = TMenuWindow::Innermost();
    ASSERT_EQ(sub->Menu(), timer);
    EXPECT_GE(sub->geometry().left(),
              root->mapToGlobal(root->Layout().cells[2].rect.topRight()).x());
    Mouse(QEvent::MouseButtonPress, sub, 1);
    Mouse(QEvent::MouseButtonRelease, sub, 1);
  });
  EXPECT_EQ(clicked, std::vector<std::string>{"2 Minutes"});
  // Choosing never moves a check mark; the handlers do that.
  EXPECT_TRUE(timer->Items(0)->Checked());
}

TEST_F(MenuWindowTest, ChoosingByPathAndStayingOnScreen) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  PopupWith(
      [&] {
        EXPECT_TRUE(area.contains(TMenuWindow::Innermost()->geometry()));
        EXPECT_FALSE(TMenuWindow::ChoosePath({"Timer", "Nowhere"}));
        EXPECT_TRUE(TMenuWindow::ChoosePath({"Timer", "5 Minutes"}));
      },
      area.bottomRight());
  EXPECT_EQ(clicked, std::vector<std::string>{"5 Minutes"});
}

TEST_F(MenuWindowTest, AnOverWideCaptionIsCutSoTheSubmenuFitsBesideItsMenu) {
  TMenuItem* external = menu.Items()->Items(5);
  Add(external, std::string(300, 'W'));
  Add(external, "Short");
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  PopupWith(
      [&] {
        Key(Qt::Key_End);
        Key(Qt::Key_Up);
        Key(Qt::Key_Right);
        TMenuWindow* sub = TMenuWindow::Innermost();
        ASSERT_EQ(sub->Menu(), external);
        EXPECT_TRUE(area.contains(sub->geometry()));
        // The style lets a submenu overlap its entry's edge by a pixel, no more.
        const TMenuWindow* parent = sub->ParentMenuWindow();
        const QRect entry = parent->Layout().cells[5].rect.adjusted(1, 0, -1, 0);
        EXPECT_FALSE(
            sub->geometry().intersects(QRect(parent->mapToGlobal(entry.topLeft()), entry.size())));
      },
      area.bottomRight());
}

TEST_F(MenuWindowTest, DestroyingAShownEntryClosesTheMenu) {
  PopupWith([this] {
    Key(Qt::Key_End);
    Key(Qt::Key_Right);
    delete unit->Items(3);
    EXPECT_EQ(TMenuWindow::Innermost(), nullptr);
  });
  EXPECT_TRUE(clicked.empty());
}

// Under Xwayland a popup hears neither the desktop's keyboard nor clicks elsewhere, and
// the X pointer's place is stale: the menu opens where it is seen, takes the keyboard,
// and closes when another window takes it.
TEST_F(MenuWindowTest, InAWaylandSessionTheMenuTakesTheKeyboardAndLeavesWithIt) {
  ::setenv("WAYLAND_DISPLAY", "wayland-test", 1);
  QCursor::setPos(5, 5);
  platform::POINT at{};
  platform::GetCursorPos(&at);
  EXPECT_EQ(QPoint(at.x, at.y), QGuiApplication::primaryScreen()->availableGeometry().center());

  // Keys go where the focus is, as the compositor sends them.
  auto keyToFocus = [](int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    if (QWidget* focus = QApplication::activeWindow()) QCoreApplication::sendEvent(focus, &event);
  };
  QWidget elsewhere;
  bool hadKeyboard = false;
  const TMenuItem* afterEscape = nullptr;
  PopupWith(
      [&] {
        hadKeyboard = Settles([] { return QApplication::activeWindow() != nullptr; });
        keyToFocus(Qt::Key_End);
        keyToFocus(Qt::Key_Right);
        EXPECT_EQ(TMenuWindow::Innermost()->Menu(), unit);
        keyToFocus(Qt::Key_Escape);
        Settles([] { return false; }, 100);
        afterEscape = TMenuWindow::Innermost() ? TMenuWindow::Innermost()->Menu() : nullptr;
        elsewhere.show();
        elsewhere.activateWindow();
        EXPECT_TRUE(Settles([] { return TMenuWindow::Innermost() == nullptr; }));
      },
      QPoint(at.x, at.y));
  ::unsetenv("WAYLAND_DISPLAY");
  EXPECT_TRUE(hadKeyboard);
  EXPECT_EQ(afterEscape, menu.Items());
  EXPECT_TRUE(clicked.empty());
}

}  // namespace
}  // namespace tk
