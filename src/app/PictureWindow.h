#pragma once

#include <QPixmap>
#include <functional>

#include "toolkit/Form.h"
#include "toolkit/Timer.h"

namespace app {

class ClickableImage;

// A borderless 300 x 300 window showing one picture, drawn each time it shows, hidden
// and shown by its callers; a click on it or the expiry of its timer runs ImageClick /
// TimerTimer.
class TPictureWindow : public tk::TForm {
 public:
  TPictureWindow(tk::TComponent* owner, const std::string& formName, const std::string& caption,
                 std::function<QPixmap()> drawPicture);

  ClickableImage* Image = nullptr;  // made when the window first shows
  tk::TTimer* Timer;

  virtual void ImageClick() = 0;
  virtual void TimerTimer() = 0;
};

}  // namespace app
