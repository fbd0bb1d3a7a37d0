#include "platform/ui/dialog_units.h"

#include <QFontMetrics>

namespace ui {

// A condensed sans face at 11 pixels measures 6 x 13 pixels per 4 x 8
// dialog units, as the classic 8-point dialog font did, so bitmaps made for
// the templates fit their controls.
QFont DialogFont() {
  QFont font(QStringLiteral("DejaVu Sans Condensed"));
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
