#include "app/Ad.h"

#include "app/Artwork.h"
#include "toolkit/Menus.h"

namespace app {

TFormAd::TFormAd(tk::TComponent* owner, tk::TPopupMenu& popupMenu)
    : TPictureWindow(owner, "FormAd", "JBW v3 - Blatant Brakken Ad",
                     [] { return LoadTitleCard("advert"); }),
      popupMenu_(popupMenu) {}

void TFormAd::Present(bool paintNow) {
  Show();
  if (paintNow) Repaint();
  Timer->SetInterval(5000);
}

void TFormAd::Close() {
  popupMenu_.SetAutoPopup(true);
  Hide();
  Timer->SetInterval(0);
}

}  // namespace app
