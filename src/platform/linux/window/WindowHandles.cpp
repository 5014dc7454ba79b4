#include "platform/WindowHandles.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <unordered_map>

#include "platform/linux/QtBridge.h"
#include "platform/linux/window/InputPointScope.h"

namespace platform {

namespace {

struct WindowRecord {
  WNDPROC proc = nullptr;
  void* user = nullptr;
  QPointer<QWidget> widget;
  LONG_PTR exStyle = 0;
};

std::unordered_map<HWND, WindowRecord>& Windows() {
  static std::unordered_map<HWND, WindowRecord> windows;
  return windows;
}

WindowRecord* Find(HWND window) {
  auto it = Windows().find(window);
  return it == Windows().end() ? nullptr : &it->second;
}

// Starts well above small integers so a stray count is never taken for a window.
HWND nextHandle = 0x10000;

}  // namespace

HWND CreateWindowHandle(WNDPROC proc, void* user, LONG_PTR exStyle) {
  return CreateWidgetWindowHandle(proc, user, nullptr, exStyle);
}

HWND CreateWidgetWindowHandle(WNDPROC proc, void* user, QWidget* widget, LONG_PTR exStyle) {
  const HWND window = nextHandle;
  nextHandle += 4;
  WindowRecord& rec = Windows()[window];
  rec.proc = proc;
  rec.user = user;
  rec.widget = widget;
  rec.exStyle = exStyle;
  if (widget && (exStyle & WS_EX_TOOLWINDOW)) ApplySkipTaskbar(widget);
  return window;
}

void DestroyWindowHandle(HWND window) {
  Windows().erase(window);
}

bool IsWindow(HWND window) {
  return Find(window) != nullptr;
}

void* GetWindowUserData(HWND window) {
  WindowRecord* rec = Find(window);
  return rec ? rec->user : nullptr;
}

QWidget* GetWindowWidget(HWND window) {
  WindowRecord* rec = Find(window);
  return rec ? rec->widget.data() : nullptr;
}

LONG_PTR GetWindowLongA(HWND window, int index) {
  WindowRecord* rec = Find(window);
  if (!rec) return 0;
  switch (index) {
    case GWL_WNDPROC:
      return ProcToLong(rec->proc);
    case GWL_EXSTYLE:
      return rec->exStyle;
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value) {
  WindowRecord* rec = Find(window);
  if (!rec) return 0;
  LONG_PTR previous = 0;
  switch (index) {
    case GWL_WNDPROC:
      previous = ProcToLong(rec->proc);
      rec->proc = LongToProc(value);
      break;
    case GWL_EXSTYLE:
      previous = rec->exStyle;
      rec->exStyle = value;
      if (rec->widget && (value & WS_EX_TOOLWINDOW) && !(previous & WS_EX_TOOLWINDOW)) {
        ApplySkipTaskbar(rec->widget);
      }
      break;
    default:
      break;
  }
  return previous;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(window, msg, wParam, lParam) : 0;
}

LRESULT SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowRecord* rec = Find(window);
  if (!rec) return 0;
  // The record may go away while the procedure runs; only its procedure is needed here.
  const WNDPROC proc = rec->proc;
  return CallWindowProcA(proc, window, msg, wParam, lParam);
}

BOOL SetForegroundWindow(HWND window) {
  WindowRecord* rec = Find(window);
  if (!rec) return 0;
  if (rec->widget && rec->widget->isVisible()) {
    rec->widget->raise();
    rec->widget->activateWindow();
  }
  return 1;
}

namespace {
const POINT* inputPoint = nullptr;
}  // namespace

InputPointScope::InputPointScope(POINT point) : outer_(inputPoint), point_(point) {
  inputPoint = &point_;
}

InputPointScope::~InputPointScope() {
  inputPoint = outer_;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return 0;
  if (inputPoint) {
    *point = *inputPoint;
    return 1;
  }
  QPoint pos = QCursor::pos();
  // Under Xwayland the X pointer stays where it last left a window of ours. With none of
  // ours under it, where the pointer really is is unknown: the middle of the screen is
  // where a menu opened there is seen.
  if (InWaylandSession() && !QGuiApplication::topLevelAt(pos)) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      pos = screen->availableGeometry().center();
    }
  }
  point->x = pos.x();
  point->y = pos.y();
  return 1;
}

}  // namespace platform
