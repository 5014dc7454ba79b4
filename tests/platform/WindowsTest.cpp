#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QWidget>

#include "platform/Icons.h"
#include "platform/WindowHandles.h"
#include "platform/linux/QtBridge.h"
#include "support/QtTestApp.h"

using namespace platform;

namespace {

LRESULT Answer1(HWND, UINT msg, WPARAM w, LPARAM l) {
  return 1000 + msg + w + l;
}
LRESULT Answer2(HWND window, UINT msg, WPARAM w, LPARAM l) {
  return 2 * static_cast<LRESULT>(reinterpret_cast<intptr_t>(GetWindowUserData(window))) + msg + w +
         l;
}

TEST(WindowHandles, ProcedureIsReadReplacedAndUsedBySend) {
  int user = 0;
  const HWND w = CreateWindowHandle(&Answer1, &user);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(GetWindowUserData(w), &user);
  EXPECT_EQ(SendMessageA(w, 1, 2, 3), 1006);

  EXPECT_EQ(LongToProc(SetWindowLongA(w, GWL_WNDPROC, ProcToLong(&Answer2))), &Answer1);
  EXPECT_EQ(LongToProc(GetWindowLongA(w, GWL_WNDPROC)), &Answer2);
  EXPECT_EQ(SendMessageA(w, 1, 0, 0), 2 * reinterpret_cast<intptr_t>(&user) + 1);
  EXPECT_EQ(CallWindowProcA(&Answer1, w, 1, 0, 0), 1001);
  EXPECT_EQ(CallWindowProcA(nullptr, w, 1, 0, 0), 0);

  DestroyWindowHandle(w);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(SendMessageA(w, 1, 2, 3), 0);
  EXPECT_EQ(GetWindowLongA(w, GWL_WNDPROC), 0);
  const HWND next = CreateWindowHandle(&Answer1, nullptr);
  EXPECT_NE(next, w);  // handles are not reused
  DestroyWindowHandle(next);
}

TEST(WindowHandles, ToolWindowStyleKeepsTheWidgetOffTheTaskbar) {
  EnsureQtApp();

  QWidget widget;
  const HWND w = CreateWidgetWindowHandle(&Answer1, nullptr, &widget, 0);
  EXPECT_FALSE(widget.windowFlags().testFlag(Qt::Tool));
  const LONG_PTR style = GetWindowLongA(w, GWL_EXSTYLE);
  EXPECT_EQ(SetWindowLongA(w, GWL_EXSTYLE, style | WS_EX_TOOLWINDOW), 0);
  EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  EXPECT_TRUE(widget.windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(GetWindowWidget(w), &widget);
  EXPECT_TRUE(SetForegroundWindow(w));
  DestroyWindowHandle(w);
  EXPECT_FALSE(SetForegroundWindow(w));
}

TEST(Icons, NamedIconsAreSharedAndUnknownNamesGiveNothing) {
  EnsureQtApp();
  const HICON main = LoadIconA(0, "MAINICON");
  ASSERT_NE(main, 0u);
  EXPECT_EQ(LoadIconA(0, "MainIcon"), main);
  EXPECT_EQ(LoadIconA(0, "NOSUCHICON"), 0u);
  EXPECT_EQ(LoadIconA(0, ""), 0u);
  EXPECT_EQ(LoadIconA(7, "MAINICON"), 0u);  // no other module carries icons
  const QIcon icon = IconFromHandle(main);
  EXPECT_EQ(icon.availableSizes().size(), 5);
  DestroyIcon(main);  // a shared icon stays
  EXPECT_FALSE(IconFromHandle(main).isNull());

  const HICON own = RegisterIcon(icon);
  EXPECT_NE(own, main);
  EXPECT_TRUE(DestroyIcon(own));
  EXPECT_TRUE(IconFromHandle(own).isNull());
  EXPECT_EQ(RegisterIcon(QIcon()), 0u);
}

}  // namespace
