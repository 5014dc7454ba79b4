#include "platform/DesktopSession.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The three variables as given (nullptr: unset), then the answer.
bool Available(const char* display, const char* wayland, const char* platform) {
  auto put = [](const char* name, const char* value) {
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  };
  put("DISPLAY", display);
  put("WAYLAND_DISPLAY", wayland);
  put("QT_QPA_PLATFORM", platform);
  return platform::DesktopSessionAvailable();
}

TEST(DesktopSession, ADisplayOrAPlatformWithoutOneIsNeeded) {
  EXPECT_TRUE(Available(":0", nullptr, nullptr));
  EXPECT_TRUE(Available(nullptr, "wayland-0", nullptr));
  EXPECT_TRUE(Available(nullptr, nullptr, "offscreen"));
  EXPECT_TRUE(Available(nullptr, nullptr, "vnc"));
  // Over ssh or from cron.
  EXPECT_FALSE(Available(nullptr, nullptr, nullptr));
  EXPECT_FALSE(Available("", "", ""));
  // Platforms that need the display that is missing.
  EXPECT_FALSE(Available(nullptr, nullptr, "xcb"));
  EXPECT_FALSE(Available(nullptr, nullptr, "wayland;xcb"));
}

}  // namespace
