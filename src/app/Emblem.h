#pragma once

class QColor;
class QPainter;
class QRectF;

namespace app {

// The program's emblem, a loudspeaker with sound arcs, inside `box`.
void DrawEmblem(QPainter& p, const QRectF& box, const QColor& body, const QColor& waves);

}  // namespace app
