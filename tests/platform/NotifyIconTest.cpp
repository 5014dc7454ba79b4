#include <gtest/gtest.h>

#include <QApplication>
#include <QSystemTrayIcon>
#include <cstring>
#include <vector>

#include "platform/Icons.h"
#include "platform/NotifyIcon.h"
#include "platform/Observation.h"
#include "platform/WindowHandles.h"
#include "support/QtTestApp.h"

using namespace platform;

namespace {

struct Received {
  UINT msg;
  WPARAM id;
  LPARAM mouse;
};
std::vector<Received> received;

LRESULT Record(HWND, UINT msg, WPARAM w, LPARAM l) {
  received.push_back({msg, w, l});
  return 0;
}

class NotifyIconTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    // Once without Qt's tray icons, once with them on the offscreen platform.
    if (GetParam()) EnsureQtApp();
    received.clear();
    window = CreateWindowHandle(&Record, nullptr);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 3;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = 10124;
    data.hIcon = GetParam() ? LoadIconA(0, "MAINICON") : 0x1234;
    std::strcpy(data.szTip, "tip");
  }
  void TearDown() override {
    Shell_NotifyIconA(NIM_DELETE, &data);
    DestroyWindowHandle(window);
  }

  HWND window = 0;
  NOTIFYICONDATAA data;
};

TEST_P(NotifyIconTest, AddModifyDeleteKeepOneIconPerWindowAndId) {
  const int before = TrayIconCount();
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));
  EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_EQ(TrayIconCount(), before + 1);
  EXPECT_EQ(FindTrayIcon(window, 3)->tip, "tip");

  // A tip filling the field without its terminating zero is read up to 63 characters.
  std::memset(data.szTip, 'a', sizeof data.szTip);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  EXPECT_EQ(FindTrayIcon(window, 3)->tip, std::string(63, 'a'));
  data.uFlags = NIF_MESSAGE | NIF_ICON;
  Shell_NotifyIconA(NIM_MODIFY, &data);
  EXPECT_EQ(FindTrayIcon(window, 3)->tip, "");

  EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(FindTrayIcon(window, 3).has_value());
  EXPECT_EQ(TrayIconCount(), before);
}

TEST_P(NotifyIconTest, MouseActionsReachTheWindowAsCallbackMessages) {
  Shell_NotifyIconA(NIM_ADD, &data);
  ActivateTrayIcon(window, 3, QSystemTrayIcon::Context);
  ActivateTrayIcon(window, 3, QSystemTrayIcon::Trigger);
  ActivateTrayIcon(window, 3, QSystemTrayIcon::DoubleClick);
  ActivateTrayIcon(window, 3, QSystemTrayIcon::MiddleClick);
  ActivateTrayIcon(window, 3, QSystemTrayIcon::Unknown);
  ActivateTrayIcon(window, 4, QSystemTrayIcon::Trigger);  // no such icon
  ASSERT_EQ(received.size(), 4u);
  const LPARAM expected[] = {WM_RBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MBUTTONDOWN};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(received[i].msg, 10124u);
    EXPECT_EQ(received[i].id, 3u);
    EXPECT_EQ(received[i].mouse, expected[i]);
  }

  // A window procedure that throws does not take the program down.
  SetWindowLongA(window, GWL_WNDPROC, ProcToLong([](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
                   throw std::runtime_error("handler failed");
                 }));
  ActivateTrayIcon(window, 3, QSystemTrayIcon::Context);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutQt, NotifyIconTest, ::testing::Values(false, true));

}  // namespace
