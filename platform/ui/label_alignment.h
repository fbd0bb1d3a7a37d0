// Where a dialog's static labels are drawn, from their template rectangles:
// a label beside an input box is centred on the box's line, a caption just
// above its box sits right on top of it, and labels of one column whose left
// edges differ by a dialog unit share the leftmost. Templates made for
// another platform's font place labels a unit or two off; drawn as they
// stand, the eye sees a ragged column, a unit above its line, a caption
// touching the row above. Only labels move, by at most a few units; every
// other control stays where its template puts it.
#pragma once

#include <vector>

#include "platform/ui/dialog_template.h"

namespace ui {

// The rectangle each control is drawn in, in dialog units, index for index.
// The height a top-level dialog is drawn with: its template's, or more when
// a push button would sit closer than the usual dialog margin (7 units) to
// the bottom edge; the controls keep their places.
int DrawnDialogHeight(const std::vector<ControlTemplate>& controls, int templateHeight);

std::vector<DluRect> AlignLabels(const std::vector<ControlTemplate>& controls);

}  // namespace ui
