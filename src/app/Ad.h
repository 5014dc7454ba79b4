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

  // Shows the advert for 5 s; `paintNow` paints it before the event loop would.
  void Present(bool paintNow);

  void ImageClick() override { Close(); }
  void TimerTimer() override { Close(); }

 private:
  void Close();

  tk::TPopupMenu& popupMenu_;
};

}  // namespace app
