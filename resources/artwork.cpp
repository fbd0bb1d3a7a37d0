// Icons and the banner, drawn at start-up so that no binary files ship.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "platform/ui/resource_registry.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace resources {
namespace {

// A dish on a stand, facing up and right, in a square of the given size.
void DrawDish(QPainter& p, const QRectF& box, const QColor& dish, const QColor& feed) {
  const double s = box.width();
  p.save();
  p.translate(box.topLeft());
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(feed, s * 0.06, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(s * 0.40, s * 0.62), QPointF(s * 0.30, s * 0.92));  // stand
  p.drawLine(QPointF(s * 0.16, s * 0.92), QPointF(s * 0.46, s * 0.92));
  QPainterPath bowl;
  bowl.moveTo(s * 0.10, s * 0.38);
  bowl.quadTo(s * 0.22, s * 0.86, s * 0.70, s * 0.74);
  bowl.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(dish);
  p.drawPath(bowl);
  p.setPen(QPen(feed, s * 0.05, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(s * 0.40, s * 0.56), QPointF(s * 0.62, s * 0.34));  // feed arm
  p.setBrush(feed);
  p.drawEllipse(QPointF(s * 0.64, s * 0.32), s * 0.06, s * 0.06);
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 2; ++i) {  // the signal coming in
    const double r = s * (0.10 + 0.10 * i);
    p.drawArc(QRectF(s * 0.64 - r, s * 0.32 - r, 2 * r, 2 * r), 10 * 16, 70 * 16);
  }
  p.restore();
}

QPixmap AppIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  QLinearGradient sky(0, 0, 0, size);
  sky.setColorAt(0, QColor(0x1d, 0x4e, 0x89));
  sky.setColorAt(1, QColor(0x0b, 0x24, 0x47));
  p.setBrush(sky);
  p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
  DrawDish(p, QRectF(size * 0.08, size * 0.04, size * 0.88, size * 0.88), QColor(0xe8, 0xee, 0xf5), QColor(0xf2, 0xb1, 0x34));
  return pixmap;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(AppIconPixmap(size));
  return icon;
}

// A round lamp: green with a closed padlock when locked, red with an open one otherwise.
QIcon LockLamp(bool locked) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient glow(QPointF(12, 11), 18);
  glow.setColorAt(0, locked ? QColor(0x9b, 0xf0, 0x8e) : QColor(0xff, 0x9c, 0x8a));
  glow.setColorAt(1, locked ? QColor(0x1e, 0x8a, 0x2c) : QColor(0xb3, 0x1b, 0x1b));
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
  p.setBrush(glow);
  p.drawEllipse(QRectF(2, 2, 28, 28));
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(Qt::NoBrush);
  const double shackleLift = locked ? 0 : 3;
  p.drawArc(QRectF(11, 7 - shackleLift, 10, 10), 0, 180 * 16);
  p.drawLine(QPointF(11, 12 - shackleLift), QPointF(11, 15));
  if (locked) p.drawLine(QPointF(21, 12), QPointF(21, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(9, 15, 14, 10), 2, 2);
  return QIcon(pixmap);
}

QPixmap Banner() {
  QPixmap pixmap(470, 41);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 470, 0);
  band.setColorAt(0, QColor(0x0b, 0x24, 0x47));
  band.setColorAt(0.65, QColor(0x1d, 0x4e, 0x89));
  band.setColorAt(1, QColor(0x3a, 0x7b, 0xc8));
  p.fillRect(pixmap.rect(), band);
  p.setPen(QPen(QColor(255, 255, 255, 40), 1));
  for (int i = 0; i < 5; ++i) p.drawArc(QRectF(300 + i * 14, -60 + i * 6, 220, 160), 200 * 16, 60 * 16);
  DrawDish(p, QRectF(6, 2, 37, 37), QColor(0xe8, 0xee, 0xf5), QColor(0xf2, 0xb1, 0x34));
  QFont title(QStringLiteral("Liberation Sans"));
  title.setPixelSize(19);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRectF(52, 1, 300, 25), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("OrvaneRX40 Tessel"));
  QFont subtitle(QStringLiteral("Liberation Sans"));
  subtitle.setPixelSize(10);
  p.setFont(subtitle);
  p.setPen(QColor(0xc9, 0xd8, 0xec));
  p.drawText(QRectF(53, 24, 400, 14), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("DVB-S/S2 tuning \u00b7 signal \u00b7 recording \u00b7 positioner"));
  return pixmap;
}

}  // namespace

void RegisterArtwork() {
  ui::RegisterIcon(IDR_MAINFRAME, AppIcon);
  ui::RegisterIcon(IDI_LOCKED, [] { return LockLamp(true); });
  ui::RegisterIcon(IDI_UNLOCKED, [] { return LockLamp(false); });
  ui::RegisterBitmap(IDB_BANNER, Banner);
}

}  // namespace resources
