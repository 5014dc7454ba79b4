#include "app/PictureWindow.h"

#include <QHideEvent>
#include <QShowEvent>
#include <QWidget>
#include <functional>
#include <utility>

#include "app/ClickableImage.h"
#include "toolkit/Application.h"
#include "toolkit/ControlBuilders.h"

namespace app {

namespace {

// The picture fills the window, so a click anywhere on it is a click on the picture.
// It is drawn when the window shows and dropped when it hides: the windows are on the
// screen for seconds and hidden for hours.
class PictureWidget : public QWidget {
 public:
  PictureWidget() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {}

  std::function<void(bool shown)> onVisibility;

 protected:
  void showEvent(QShowEvent* event) override {
    if (onVisibility) onVisibility(true);
    QWidget::showEvent(event);
  }
  void hideEvent(QHideEvent* event) override {
    QWidget::hideEvent(event);
    if (onVisibility) onVisibility(false);
  }
};

}  // namespace

TPictureWindow::TPictureWindow(tk::TComponent* owner, const std::string& formName,
                               const std::string& caption, std::function<QPixmap()> drawPicture)
    : tk::TForm(owner, new PictureWidget) {
  SetName(formName);
  SetCaption(caption);
  SetClientSize(300, 300);
  SetCenterOnShow(true);

  BuildWhenNeeded([this, draw = std::move(drawPicture)]() mutable {
    Image = tk::Place(new ClickableImage(Widget()), "Image", {0, 0, 300, 300});
    Image->setAlignment(Qt::AlignCenter);
    static_cast<PictureWidget*>(Widget())->onVisibility = [this,
                                                           draw = std::move(draw)](bool shown) {
      if (shown) {
        Image->setPixmap(draw());
      } else {
        Image->clear();
      }
    };
    tk::Connect(Image, &ClickableImage::clicked, Image, [this] { ImageClick(); });
  });

  Timer = new tk::TTimer(this);
  Timer->SetName("Timer");
  Timer->OnTimer = [this](tk::TComponent*) { TimerTimer(); };
}

}  // namespace app
