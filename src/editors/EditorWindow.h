#pragma once

#include <functional>

#include <QWidget>

class QPushButton;

namespace tk {
class TForm;
}

namespace editors {

// The top-level widget of an editor: a fixed dialog frame with a title and no title-bar
// buttons, centred the first time it shows, running the form's show handler on every
// showing, with a default button for Enter and a cancel button for Escape.
class TEditorWindow : public QWidget {
 public:
  TEditorWindow();

  // Set once the form that owns this widget exists.
  void Attach(tk::TForm* form) { form_ = form; }
  std::function<void()> OnShow;
  QPushButton* DefaultButton = nullptr;
  QPushButton* CancelButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  tk::TForm* form_ = nullptr;
  bool shownBefore_ = false;
};

}  // namespace editors
