#include "app/Artwork.h"

#include "app/Emblem.h"

#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace app {

namespace {

QPixmap NewPixmap(int w, int h) {
  QPixmap pm(w, h);
  pm.fill(Qt::transparent);
  return pm;
}

}  // namespace

QPixmap DrawConfigPicture() {
  QPixmap pm = NewPixmap(69, 59);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient bg(QPointF(34, 29), 45);
  bg.setColorAt(0, QColor(0x3b, 0x2a, 0x7a));
  bg.setColorAt(1, QColor(0x10, 0x0c, 0x2a));
  p.setPen(Qt::NoPen);
  p.setBrush(bg);
  p.drawRoundedRect(QRectF(0, 0, 69, 59), 8, 8);
  DrawEmblem(p, QRectF(12, 6, 46, 46), QColor(0xff, 0xd2, 0x4a), QColor(0xff, 0xe9, 0x9e));
  return pm;
}

QPixmap DrawWavGlyph(bool enabled) {
  QPixmap pm = NewPixmap(25, 25);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = enabled ? QColor(0x2a, 0x5d, 0xb0) : QColor(0x9a, 0x9a, 0x9a);
  // A page with a folded corner and a waveform.
  QPainterPath page;
  page.moveTo(5, 2);
  page.lineTo(15, 2);
  page.lineTo(20, 7);
  page.lineTo(20, 23);
  page.lineTo(5, 23);
  page.closeSubpath();
  p.setPen(QPen(ink, 1.2));
  p.setBrush(enabled ? QColor(0xf4, 0xf8, 0xff) : QColor(0xee, 0xee, 0xee));
  p.drawPath(page);
  p.drawLine(QPointF(15, 2), QPointF(15, 7));
  p.drawLine(QPointF(15, 7), QPointF(20, 7));
  const qreal wave[] = {0, 3, -4, 5, -2, 4, -5, 2, 0};
  QPainterPath line;
  line.moveTo(7, 15);
  for (int i = 0; i < 9; ++i) line.lineTo(7 + i * 1.4, 15 + wave[i]);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(enabled ? QColor(0xe0, 0x5a, 0x2b) : ink, 1.4));
  p.drawPath(line);
  return pm;
}

QPixmap DrawUnitGlyph(bool enabled) {
  QPixmap pm = NewPixmap(25, 25);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = enabled ? QColor(0x2f, 0x7d, 0x4a) : QColor(0x9a, 0x9a, 0x9a);
  // A cartridge with contacts and the emblem.
  p.setPen(QPen(ink, 1.2));
  p.setBrush(enabled ? QColor(0xe9, 0xf7, 0xee) : QColor(0xee, 0xee, 0xee));
  p.drawRoundedRect(QRectF(3, 3, 19, 15), 2, 2);
  for (int i = 0; i < 4; ++i) p.drawRect(QRectF(5.5 + i * 4, 18, 2, 4));
  DrawEmblem(p, QRectF(6, 4, 13, 13), ink, enabled ? QColor(0xe0, 0x5a, 0x2b) : ink);
  return pm;
}

QPixmap LoadTitleCard(const char* name) {
  // Read as PNG outright: otherwise Qt asks every image plugin about the file, and loads
  // them all.
  QImageReader reader(QStringLiteral(":/title-cards/%1.png").arg(QLatin1String(name)), "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

}  // namespace app
