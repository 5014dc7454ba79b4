#include "tray/MsgCmpList.h"

#include <algorithm>
#include <tuple>

#include "platform/WindowHandles.h"
#include "toolkit/Component.h"
#include "tray/wkMsgCmp.h"

namespace tray {

using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WNDPROC;
using platform::WPARAM;

TMsgCmpList MsgCmpList;

namespace {

// A message on its way down a window's chain of previous procedures. When some other
// party subclassed a hooked window and then chains back to MsgCmpWndProc, the message
// comes back here: it then goes on to the next older procedure not yet called instead
// of starting over, which would never end. Once every procedure has had it, the same
// message coming back is one the window sent itself, and it starts afresh.
struct ChainFrame {
  HWND window;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  std::vector<WNDPROC> called;
};

thread_local std::vector<ChainFrame> chains;

int FindChain(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  for (int i = static_cast<int>(chains.size()) - 1; i >= 0; --i) {
    const ChainFrame& f = chains[i];
    if (std::tie(f.window, f.msg, f.wParam, f.lParam) == std::tie(window, msg, wParam, lParam)) {
      return i;
    }
  }
  return -1;
}

bool Callable(WNDPROC proc) {
  return proc && proc != &MsgCmpWndProc;
}

class ChainScope {
 public:
  ChainScope(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC proc) {
    chains.push_back({window, msg, wParam, lParam, {proc}});
  }
  ~ChainScope() { chains.pop_back(); }
  ChainScope(const ChainScope&) = delete;
  ChainScope& operator=(const ChainScope&) = delete;
};

// The next older procedure the message has not been to yet; nullptr when none is left.
WNDPROC NextInChain(int frame, HWND window) {
  const auto& called = chains[frame].called;
  for (int pos = MsgCmpList.Count() - 1; pos >= 0; --pos) {
    const TMsgCmpHook& hook = MsgCmpList.Items(pos);
    if (hook.Window != window || !Callable(hook.PreviousProc)) continue;
    if (std::find(called.begin(), called.end(), hook.PreviousProc) == called.end()) {
      return hook.PreviousProc;
    }
  }
  return nullptr;
}

}  // namespace

int TMsgCmpList::FindNextHook(HWND window, int after) const {
  for (int pos = std::max(after + 1, 0); pos < Count(); ++pos) {
    if (hooks_[pos].Window == window) return pos;
  }
  return -1;
}

int TMsgCmpList::AddHook(TwkMsgComponent* component, HWND window) {
  const WNDPROC current =
      platform::LongToProc(platform::GetWindowLongA(window, platform::GWL_WNDPROC));
  int first = FindNextHook(window, -1);
  if (first >= 0 && current != &MsgCmpWndProc) first = -1;  // someone subclassed it since
  const WNDPROC previous = first < 0 ? current : hooks_[first].PreviousProc;
  hooks_.push_back({component, window, previous});
  if (first < 0) {
    platform::SetWindowLongA(window, platform::GWL_WNDPROC, platform::ProcToLong(&MsgCmpWndProc));
  }
  return Count() - 1;
}

int TMsgCmpList::RemoveHook(TwkMsgComponent* component, HWND window) {
  for (int pos = 0; pos < Count(); ++pos) {
    TMsgCmpHook& hook = hooks_[pos];
    if (hook.Component == component && hook.Window == window) {
      hook.Component = nullptr;
      return pos;
    }
  }
  return -1;
}

void TMsgCmpList::RemoveComponent(TwkMsgComponent* component) {
  for (TMsgCmpHook& hook : hooks_) {
    if (hook.Component == component) hook.Component = nullptr;
  }
}

LRESULT MsgCmpWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (const int frame = FindChain(window, msg, wParam, lParam); frame >= 0) {
    if (const WNDPROC next = NextInChain(frame, window)) {
      chains[frame].called.push_back(next);
      return platform::CallWindowProcA(next, window, msg, wParam, lParam);
    }
  }

  LRESULT result = 0;
  int last = -1;
  for (int pos = MsgCmpList.FindNextHook(window, -1); pos >= 0;
       pos = MsgCmpList.FindNextHook(window, pos)) {
    last = pos;
    TwkMsgComponent* component = MsgCmpList.Items(pos).Component;
    if (!component || component->Destroying()) continue;
    tk::TMessage message{msg, wParam, lParam, result};
    component->Dispatch(message);
    result = message.Result;
  }
  if (last < 0) return result;

  const WNDPROC previous = MsgCmpList.Items(last).PreviousProc;
  if (!Callable(previous)) return result;
  ChainScope scope(window, msg, wParam, lParam, previous);
  return platform::CallWindowProcA(previous, window, msg, wParam, lParam);
}

}  // namespace tray
