#pragma once

#include <QIcon>

namespace editors {

// The editors' button pictures, drawn in code, each with a normal and a disabled image.
QIcon LoudspeakerGlyph();
QIcon OpenFolderGlyph();
QIcon CheckMarkGlyph();
QIcon CrossGlyph();

}  // namespace editors
