#include "app/PictureWindow.h"

#include <QWidget>

#include "app/ClickableImage.h"
#include "toolkit/Application.h"

namespace app {

namespace {

// The picture fills the window, so a click anywhere on it is a click on the picture.
class PictureWidget : public QWidget {
 public:
  PictureWidget() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {}
};

}  // namespace

TPictureWindow::TPictureWindow(tk::TComponent* owner, const std::string& formName,
                               const std::string& caption, const QPixmap& picture)
    : tk::TForm(owner, new PictureWidget) {
  SetName(formName);
  SetCaption(caption);
  SetClientSize(300, 300);
  SetCenterOnShow(true);

  Image = new ClickableImage(Widget());
  Image->setObjectName("Image");
  Image->setGeometry(0, 0, 300, 300);
  Image->setAlignment(Qt::AlignCenter);
  Image->setPixmap(picture);
  tk::Connect(Image, &ClickableImage::clicked, Image, [this] { ImageClick(); });

  Timer = new tk::TTimer(this);
  Timer->SetName("Timer");
  Timer->OnTimer = [this](tk::TComponent*) { TimerTimer(); };
}

}  // namespace app
