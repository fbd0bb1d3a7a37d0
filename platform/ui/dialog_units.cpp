#include "platform/ui/dialog_units.h"

#include <QFontMetrics>

namespace ui {

QFont DialogFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the 52 letters, rounded, as the classic dialog
  // manager measured it.
  const int letters = metrics.horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect DluToPixels(const DluRect& r, BaseUnits u) {
  const int left = r.x * u.x / 4;
  const int top = r.y * u.y / 8;
  const int right = (r.x + r.cx) * u.x / 4;
  const int bottom = (r.y + r.cy) * u.y / 8;
  return QRect(left, top, right - left, bottom - top);
}

QSize DluToPixels(int cx, int cy, BaseUnits u) { return QSize(cx * u.x / 4, cy * u.y / 8); }

}  // namespace ui
