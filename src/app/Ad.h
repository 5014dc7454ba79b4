#pragma once

#include "app/PictureWindow.h"

namespace tk {
class TPopupMenu;
}

namespace app {

// The advert for the sound-unit product: after the splash when due, and after "Done".
// Its closing lets the tray menu open again.
class TFormAd : public TPictureWindow {
 public:
  TFormAd(tk::TComponent* owner, tk::TPopupMenu& popupMenu);

  void ImageClick() override { Close(); }
  void TimerTimer() override { Close(); }

 private:
  void Close();

  tk::TPopupMenu& popupMenu_;
};

}  // namespace app
