// Dialog units to pixels, from the dialog font: x * average character
// width / 4, y * line height / 8.
#pragma once

#include <QFont>
#include <QRect>

#include "platform/ui/dialog_template.h"

namespace ui {

struct BaseUnits {
  int x;  // pixels per 4 horizontal dialog units
  int y;  // pixels per 8 vertical dialog units
};

// The font every dialog uses: a sans-serif face of the size the classic
// 8-point dialog font had, so templates keep their proportions.
QFont DialogFont();
BaseUnits BaseUnitsOf(const QFont& font);

QRect DluToPixels(const DluRect& rect, BaseUnits units);
QSize DluToPixels(int cx, int cy, BaseUnits units);

}  // namespace ui
