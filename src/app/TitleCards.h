#pragma once

#include <QImage>

// The two 300 x 300 pictures with text on them. They are drawn when the program is built
// (DrawTitleCards.cpp) and shipped as resources, so that showing the splash at start
// needs no fonts.
namespace app {

QImage DrawSplashCard();  // the program's title card
QImage DrawAdvertCard();  // the sound-unit product's advert

}  // namespace app
