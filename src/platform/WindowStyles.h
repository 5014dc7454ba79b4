#pragma once

class QWidget;

namespace platform {

// Keeps a top-level widget off the taskbar and the pager: the tool-window flag, and on
// X11 the _NET_WM_STATE_SKIP_TASKBAR / _NET_WM_STATE_SKIP_PAGER states, set again each
// time the widget is shown because the window manager drops them on unmap.
void ApplySkipTaskbar(QWidget* widget);

}  // namespace platform
