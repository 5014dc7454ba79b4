#include "app/TitleCards.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "app/Emblem.h"

namespace app {

namespace {

QImage NewCard() {
  QImage card(300, 300, QImage::Format_ARGB32_Premultiplied);
  card.fill(Qt::transparent);
  return card;
}

}  // namespace

QImage DrawSplashCard() {
  QImage pm = NewCard();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient bg(QPointF(150, 110), 260);
  bg.setColorAt(0, QColor(0x3b, 0x2a, 0x7a));
  bg.setColorAt(1, QColor(0x10, 0x0c, 0x2a));
  p.fillRect(pm.rect(), bg);
  // Faint concentric rings behind the emblem.
  p.setPen(QPen(QColor(255, 255, 255, 22), 2));
  for (int r = 40; r < 220; r += 22) p.drawEllipse(QPointF(150, 105), r, r);
  DrawEmblem(p, QRectF(90, 45, 120, 120), QColor(0xff, 0xd2, 0x4a), QColor(0xff, 0xe9, 0x9e));

  QFont title("DejaVu Serif", 30, QFont::Bold);
  p.setFont(title);
  p.setPen(QColor(0xff, 0xf4, 0xd6));
  p.drawText(QRectF(0, 172, 300, 44), Qt::AlignCenter, "Jabberwell");
  QFont badge("DejaVu Sans", 11, QFont::Bold);
  p.setFont(badge);
  p.setBrush(QColor(0xff, 0x8a, 0x3d));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(128, 218, 44, 20), 10, 10);
  p.setPen(Qt::white);
  p.drawText(QRectF(128, 218, 44, 20), Qt::AlignCenter, "v3");
  QFont small("DejaVu Sans", 9);
  p.setFont(small);
  p.setPen(QColor(0xc9, 0xc3, 0xf0));
  p.drawText(QRectF(0, 246, 300, 18), Qt::AlignCenter, "The sound board in your tray");
  p.setPen(QColor(0x8d, 0x86, 0xc0));
  p.drawText(QRectF(0, 274, 300, 16), Qt::AlignCenter,
             QString::fromUtf8("\u00a9 2026 The Jabberwell team"));
  p.setPen(QPen(QColor(255, 255, 255, 60), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, 299, 299));
  return pm;
}

QImage DrawAdvertCard() {
  QImage pm = NewCard();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient bg(0, 0, 300, 300);
  bg.setColorAt(0, QColor(0xff, 0x9a, 0x3c));
  bg.setColorAt(1, QColor(0xd9, 0x3a, 0x5b));
  p.fillRect(pm.rect(), bg);
  // An equaliser across the lower half.
  const int bars[] = {40, 75, 55, 110, 90, 130, 70, 100, 60, 85, 45, 65};
  for (int i = 0; i < 12; ++i) {
    const qreal x = 18 + i * 22.5;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawRoundedRect(QRectF(x, 290 - bars[i], 14, bars[i]), 3, 3);
  }
  DrawEmblem(p, QRectF(20, 20, 64, 64), Qt::white, QColor(0xff, 0xf1, 0xc9));
  p.setPen(Qt::white);
  p.setFont(QFont("DejaVu Sans", 12, QFont::Bold));
  p.drawText(QRectF(92, 28, 200, 22), Qt::AlignLeft | Qt::AlignVCenter, "Brakken");
  p.setFont(QFont("DejaVu Sans", 20, QFont::Bold));
  p.drawText(QRectF(92, 50, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, "Sound Units");
  p.setFont(QFont("DejaVu Sans", 11));
  p.drawText(QRectF(20, 100, 260, 80), Qt::AlignLeft | Qt::TextWordWrap,
             "Hundreds of clips for your tray menu.\nThree units at a time, "
             "each with its own submenu.");
  p.setFont(QFont("DejaVu Sans", 9, QFont::Bold));
  p.setBrush(QColor(0x2b, 0x10, 0x3a, 200));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(20, 186, 260, 28), 14, 14);
  p.setPen(Qt::white);
  p.drawText(QRectF(20, 186, 260, 28), Qt::AlignCenter, "Make your own with jbw-unit-pack");
  return pm;
}

}  // namespace app
