#pragma once

#include <vector>

#include "platform/NotifyIcon.h"
#include "platform/Observation.h"
#include "support/QtTestApp.h"

// Records every call to the notification area while it lives.
class ShellRecorder {
 public:
  struct Call {
    platform::DWORD message;
    platform::NOTIFYICONDATAA data;
  };

  ShellRecorder() {
    platform::SetShellNotifyHook([this](platform::DWORD m, const platform::NOTIFYICONDATAA& d) {
      calls.push_back({m, d});
    });
  }
  ~ShellRecorder() { platform::SetShellNotifyHook(nullptr); }

  int Count(platform::DWORD message) const {
    int n = 0;
    for (const Call& c : calls) n += c.message == message;
    return n;
  }
  const Call& Last() const { return calls.back(); }

  std::vector<Call> calls;
};
