#include "app/Splash.h"

#include "app/Ad.h"
#include "app/Artwork.h"
#include "toolkit/Menus.h"

namespace app {

TFormSplash::TFormSplash(tk::TComponent* owner, const bool& advertDue, TFormAd* const& formAd,
                         tk::TPopupMenu& popupMenu)
    : TPictureWindow(owner, "FormSplash", "JBW v3 - Splash Screen", DrawSplashPicture),
      advertDue_(advertDue),
      formAd_(formAd),
      popupMenu_(popupMenu) {}

void TFormSplash::Close(bool repaintAdvert) {
  Hide();
  Timer->SetInterval(0);
  if (advertDue_) {
    formAd_->Show();
    // A click comes before the loop has painted anything; an expiry runs inside it.
    if (repaintAdvert) formAd_->Repaint();
    formAd_->Timer->SetInterval(5000);
  } else {
    popupMenu_.SetAutoPopup(true);
  }
}

}  // namespace app
