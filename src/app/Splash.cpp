#include "app/Splash.h"

#include <utility>

#include "app/Artwork.h"
#include "toolkit/Menus.h"

namespace app {

TFormSplash::TFormSplash(tk::TComponent* owner, const bool& advertDue, tk::TPopupMenu& popupMenu,
                         std::function<void(bool paintNow)> showAdvert)
    : TPictureWindow(owner, "FormSplash", "JBW v3 - Splash Screen",
                     [] { return LoadTitleCard("splash"); }),
      advertDue_(advertDue),
      popupMenu_(popupMenu),
      showAdvert_(std::move(showAdvert)) {}

void TFormSplash::Close(bool paintAdvert) {
  Hide();
  Timer->SetInterval(0);
  if (advertDue_) {
    // A click comes before the loop has painted anything; an expiry runs inside it.
    showAdvert_(paintAdvert);
  } else {
    popupMenu_.SetAutoPopup(true);
  }
}

}  // namespace app
