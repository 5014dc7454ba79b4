#pragma once

#include <QPixmap>

// The program's pictures, drawn in code so they scale with the screen and need no
// image files.
namespace app {

QPixmap DrawSplashPicture();          // 300 x 300: the program's title card
QPixmap DrawAdPicture();              // 300 x 300: the sound-unit product's advert
QPixmap DrawConfigPicture();          // 69 x 59: the configuration window's picture
QPixmap DrawWavGlyph(bool enabled);   // 25 x 25 speed-button glyph: a sound file
QPixmap DrawUnitGlyph(bool enabled);  // 25 x 25 speed-button glyph: a sound unit

}  // namespace app
