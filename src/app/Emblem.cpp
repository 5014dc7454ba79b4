#include "app/Emblem.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace app {

void DrawEmblem(QPainter& p, const QRectF& box, const QColor& body, const QColor& waves) {
  const qreal w = box.width(), h = box.height();
  const qreal x = box.left(), y = box.top();
  QPainterPath speaker;
  speaker.moveTo(x + 0.08 * w, y + 0.36 * h);
  speaker.lineTo(x + 0.28 * w, y + 0.36 * h);
  speaker.lineTo(x + 0.52 * w, y + 0.14 * h);
  speaker.lineTo(x + 0.52 * w, y + 0.86 * h);
  speaker.lineTo(x + 0.28 * w, y + 0.64 * h);
  speaker.lineTo(x + 0.08 * w, y + 0.64 * h);
  speaker.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  p.drawPath(speaker);
  QPen arc(waves, std::max<qreal>(1.5, 0.06 * w), Qt::SolidLine, Qt::RoundCap);
  p.setPen(arc);
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 3; ++i) {
    const qreal r = 0.13 * w * i;
    const QRectF circle(x + 0.52 * w - r, y + 0.5 * h - r, 2 * r, 2 * r);
    p.drawArc(circle, -45 * 16, 90 * 16);
  }
}

}  // namespace app
