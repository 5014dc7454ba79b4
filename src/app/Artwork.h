#pragma once

#include <QPixmap>

// The program's pictures without text, drawn in code when a window first needs them.
namespace app {

QPixmap DrawConfigPicture();          // 69 x 59: the configuration window's picture
QPixmap DrawWavGlyph(bool enabled);   // 25 x 25 speed-button glyph: a sound file
QPixmap DrawUnitGlyph(bool enabled);  // 25 x 25 speed-button glyph: a sound unit
// The splash's or the advert's picture, drawn at build time (TitleCards.h).
QPixmap LoadTitleCard(const char* name);

}  // namespace app
