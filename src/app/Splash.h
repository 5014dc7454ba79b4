#pragma once

#include <functional>

#include "app/PictureWindow.h"

namespace tk {
class TPopupMenu;
}

namespace app {

// The title card: shown at every start for 5 s and from "About" for 8 s. When it closes,
// the advert follows if it is due; otherwise the tray menu works again.
class TFormSplash : public TPictureWindow {
 public:
  // `showAdvert` shows the advert, painting it at once when told to.
  TFormSplash(tk::TComponent* owner, const bool& advertDue, tk::TPopupMenu& popupMenu,
              std::function<void(bool paintNow)> showAdvert);

  void ImageClick() override { Close(true); }
  void TimerTimer() override { Close(false); }

 private:
  void Close(bool paintAdvert);

  const bool& advertDue_;
  tk::TPopupMenu& popupMenu_;
  std::function<void(bool)> showAdvert_;
};

}  // namespace app
