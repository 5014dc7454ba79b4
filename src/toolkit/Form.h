#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/WinTypes.h"
#include "toolkit/Component.h"

class QWidget;

namespace tk {

// The form base: a component that owns one top-level widget and, on demand, a window
// handle whose procedure hands every message to the component's dispatch. Every form
// stays off the taskbar and ignores a close from the window manager.
class TForm : public TComponent {
 public:
  // Takes the widget a subclass builds with its frame's flags (a plain QWidget when none
  // is given).
  explicit TForm(TComponent* owner, QWidget* widget = nullptr);
  ~TForm() override;

  QWidget* Widget() const { return widget_.get(); }

  // Kept as given: the title shown may not carry every 8-bit character back.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  // Builds the form's contents if they wait for its first showing. Code that reaches
  // into the controls of a form not yet shown calls this first.
  void EnsureBuilt();
  bool Built() const { return !build_; }

  void Show();
  void Hide();
  bool Visible() const;
  void SetVisible(bool value);
  // Paints the form now, before the caller goes on with long work.
  void Repaint();

  // Client area size, fixed when `fixed` (a single border that cannot be resized).
  void SetClientSize(int width, int height, bool fixed = true);
  // Centre on the screen each time the form is shown.
  bool CenterOnShow() const { return centerOnShow_; }
  void SetCenterOnShow(bool value) { centerOnShow_ = value; }
  void CenterOnScreen();

  // The window handle, created on first use; the form's own procedure is the last in the
  // window's chain of procedures.
  platform::HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }

 protected:
  // Most forms stay hidden for the whole run: their controls are made by `build` when
  // the form first shows (or EnsureBuilt is called), not with the form.
  void BuildWhenNeeded(std::function<void()> build) { build_ = std::move(build); }

 private:
  static platform::LRESULT FormWndProc(platform::HWND window, platform::UINT msg,
                                       platform::WPARAM wParam, platform::LPARAM lParam);

  std::unique_ptr<QWidget> widget_;
  std::string caption_;
  std::function<void()> build_;
  platform::HWND handle_ = 0;
  bool centerOnShow_ = false;
};

}  // namespace tk
