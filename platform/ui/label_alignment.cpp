#include "platform/ui/label_alignment.h"

#include <algorithm>
#include <cstdlib>

namespace ui {
namespace {

// How far a label's box may lie beside it, and a caption above its box.
constexpr int kBesideGap = 20;
constexpr int kAboveGap = 5;
// Left edges this close are one column, for labels this close one above the other.
constexpr int kColumnSlack = 1;
constexpr int kColumnRise = 16;
// A closed drop-down list is one line, whatever its template's height.
constexpr int kLineHeight = 14;

bool IsInput(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::DropDown || kind == ControlKind::DropDownList;
}

int Bottom(const DluRect& r) { return r.y + r.cy; }
int Right(const DluRect& r) { return r.x + r.cx; }

// The rectangle an input box is drawn in.
DluRect DrawnInput(const ControlTemplate& c) {
  DluRect r = c.rect;
  if (c.kind != ControlKind::Edit) r.cy = std::min(r.cy, kLineHeight);
  return r;
}

}  // namespace

int DrawnDialogHeight(const std::vector<ControlTemplate>& controls, int templateHeight) {
  constexpr int kDialogMargin = 7;
  int height = templateHeight;
  for (const auto& c : controls)
    if (c.kind == ControlKind::PushButton || c.kind == ControlKind::DefPushButton)
      height = std::max(height, c.rect.y + c.rect.cy + kDialogMargin);
  return height;
}

std::vector<DluRect> AlignLabels(const std::vector<ControlTemplate>& controls) {
  std::vector<DluRect> rects;
  for (const auto& c : controls) rects.push_back(c.rect);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind != ControlKind::Label) continue;
    DluRect& label = rects[i];
    bool placed = false;
    for (const auto& other : controls) {
      if (!IsInput(other.kind)) continue;
      const DluRect box = DrawnInput(other);
      // The box after its caption, or before its unit ("MHZ").
      const int after = box.x - Right(label);
      const int before = label.x - Right(box);
      const bool sameLine = box.y < Bottom(label) && label.y < Bottom(box);
      const bool beside = (after >= -2 && after <= kBesideGap) || (before >= -2 && before <= kBesideGap);
      if (sameLine && beside) {
        label.y = box.y + (box.cy - label.cy) / 2;
        placed = true;
        break;
      }
    }
    if (placed) continue;
    for (const auto& other : controls) {
      if (!IsInput(other.kind)) continue;
      const DluRect box = DrawnInput(other);
      const int below = box.y - Bottom(label);
      const bool overlaps = box.x < Right(label) && label.x < Right(box);
      if (overlaps && below >= 0 && below <= kAboveGap) {
        label.y = box.y - label.cy - 1;
        break;
      }
    }
  }
  // Columns: after the lines, so a label keeps the line it was put on.
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind != ControlKind::Label) continue;
    for (std::size_t j = 0; j < controls.size(); ++j) {
      if (j == i || controls[j].kind != ControlKind::Label) continue;
      const int dx = controls[i].rect.x - controls[j].rect.x;
      const int dy = std::abs(controls[i].rect.y - controls[j].rect.y);
      if (dx > 0 && dx <= kColumnSlack && dy > 0 && dy <= kColumnRise) rects[i].x = controls[j].rect.x;
    }
  }
  return rects;
}

}  // namespace ui
