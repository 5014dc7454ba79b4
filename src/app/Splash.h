#pragma once

#include "app/PictureWindow.h"

namespace tk {
class TPopupMenu;
}

namespace app {

class TFormAd;

// The title card: shown at every start for 5 s and from "About" for 8 s. When it closes,
// the advert follows if it is due; otherwise the tray menu works again.
class TFormSplash : public TPictureWindow {
 public:
  // `formAd` is the configuration window's reference, filled once the advert exists.
  TFormSplash(tk::TComponent* owner, const bool& advertDue, TFormAd* const& formAd,
              tk::TPopupMenu& popupMenu);

  void ImageClick() override { Close(true); }
  void TimerTimer() override { Close(false); }

 private:
  void Close(bool repaintAdvert);

  const bool& advertDue_;
  TFormAd* const& formAd_;
  tk::TPopupMenu& popupMenu_;
};

}  // namespace app
