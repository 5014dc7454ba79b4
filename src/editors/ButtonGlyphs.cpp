#include "editors/ButtonGlyphs.h"

#include <functional>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace editors {

namespace {

constexpr int kSize = 16;

QPixmap Draw(const std::function<void(QPainter&)>& paint) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  paint(p);
  return pixmap;
}

// The shape embossed in grey: a white copy one pixel down and right under a grey one.
QPixmap Disabled(const QPixmap& normal) {
  auto tinted = [&](const QColor& colour) {
    QPixmap out(normal.size());
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawPixmap(0, 0, normal);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(out.rect(), colour);
    return out;
  };
  QPixmap out(normal.size());
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.drawPixmap(1, 1, tinted(Qt::white));
  p.drawPixmap(0, 0, tinted(QColor(128, 128, 128)));
  return out;
}

QIcon Glyph(const QPixmap& normal) {
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(Disabled(normal), QIcon::Disabled);
  return icon;
}

}  // namespace

QIcon LoudspeakerGlyph() {
  return Glyph(Draw([](QPainter& p) {
    QPainterPath cone;
    cone.moveTo(1.5, 5.5);
    cone.lineTo(4.5, 5.5);
    cone.lineTo(8.5, 1.5);
    cone.lineTo(8.5, 14.5);
    cone.lineTo(4.5, 10.5);
    cone.lineTo(1.5, 10.5);
    cone.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(96, 96, 96));
    p.drawPath(cone);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 160), 1.2));
    p.drawArc(QRectF(7, 5, 5, 6), -50 * 16, 100 * 16);
    p.drawArc(QRectF(6, 3, 8, 10), -50 * 16, 100 * 16);
    p.drawArc(QRectF(5, 1, 10, 14), -50 * 16, 100 * 16);
  }));
}

QIcon OpenFolderGlyph() {
  return Glyph(Draw([](QPainter& p) {
    p.setPen(QPen(QColor(96, 64, 0), 1));
    p.setBrush(QColor(200, 160, 40));
    p.drawPolygon(
        QPolygonF({{1.5, 3.5}, {5.5, 3.5}, {6.5, 4.5}, {12.5, 4.5}, {12.5, 13.5}, {1.5, 13.5}}));
    p.setBrush(QColor(255, 220, 80));
    p.drawPolygon(QPolygonF({{4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {1.5, 13.5}}));
  }));
}

QIcon CheckMarkGlyph() {
  return Glyph(Draw([](QPainter& p) {
    p.setPen(QPen(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{2.5, 8.5}, {6.0, 12.5}, {13.5, 3.0}}));
  }));
}

QIcon CrossGlyph() {
  return Glyph(Draw([](QPainter& p) {
    p.setPen(QPen(QColor(192, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
  }));
}

}  // namespace editors
