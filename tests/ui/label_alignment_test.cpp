// Where labels are drawn, on the cases the window's templates hold: a ragged
// column, a unit a unit above its line, a caption close to the row above.
#include "platform/ui/label_alignment.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

ControlTemplate Label(DluRect rect) { return {kNoId, ControlKind::Label, "label", rect}; }
ControlTemplate Edit(DluRect rect) { return {100, ControlKind::Edit, "", rect}; }
ControlTemplate List(DluRect rect) { return {101, ControlKind::DropDownList, "", rect}; }
ControlTemplate Button(DluRect rect) { return {102, ControlKind::PushButton, "Go", rect}; }

TEST(LabelAlignment, LabelsMeetTheirLinesAndColumnsAndNothingElseMoves) {
  struct Case {
    const char* what;
    std::vector<ControlTemplate> controls;
    std::vector<DluRect> drawn;
  };
  const Case cases[] = {
      {"a caption centred on its box's line",
       {Label({23, 36, 32, 8}), Edit({71, 34, 41, 14})},
       {{23, 37, 32, 8}, {71, 34, 41, 14}}},
      {"a unit after its box, two units high: centred too",
       {Edit({208, 34, 41, 14}), Label({255, 35, 25, 8})},
       {{208, 34, 41, 14}, {255, 37, 25, 8}}},
      {"a drop-down list counts as one line, not its dropped height",
       {Label({156, 56, 37, 8}), List({203, 53, 76, 83})},
       {{156, 56, 37, 8}, {203, 53, 76, 83}}},
      {"a caption just above its box sits on it",
       {Label({29, 46, 47, 8}), {1, ControlKind::DropDown, "", {29, 57, 148, 78}}},
       {{29, 48, 47, 8}, {29, 57, 148, 78}}},
      {"one column whose edges differ by a unit shares the leftmost",
       {Label({9, 220, 41, 8}), Label({10, 233, 40, 8})},
       {{9, 220, 41, 8}, {9, 233, 40, 8}}},
      {"labels apart, and other controls, stay where they are",
       {Label({9, 20, 41, 8}), Label({14, 120, 40, 8}), Button({209, 55, 50, 15}), Label({150, 5, 30, 8})},
       {{9, 20, 41, 8}, {14, 120, 40, 8}, {209, 55, 50, 15}, {150, 5, 30, 8}}},
  };
  for (const Case& c : cases) {
    const std::vector<DluRect> drawn = AlignLabels(c.controls);
    ASSERT_EQ(drawn.size(), c.drawn.size()) << c.what;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_EQ(drawn[i].x, c.drawn[i].x) << c.what << ", control " << i;
      EXPECT_EQ(drawn[i].y, c.drawn[i].y) << c.what << ", control " << i;
      EXPECT_EQ(drawn[i].cx, c.drawn[i].cx) << c.what << ", control " << i;
      EXPECT_EQ(drawn[i].cy, c.drawn[i].cy) << c.what << ", control " << i;
    }
  }
}

}  // namespace
}  // namespace ui

namespace ui {
namespace {

// The main window's "Apply" ends 3 units above the window's bottom edge; the
// window is drawn taller rather than the button moved.
TEST(DrawnDialogHeight, AButtonNearTheBottomEdgeGetsTheDialogMarginAndNothingElseGrows) {
  const ControlTemplate apply{1, ControlKind::PushButton, "Apply", {230, 399, 66, 16}};
  const ControlTemplate label{2, ControlKind::Label, "x", {17, 412, 89, 8}};
  EXPECT_EQ(DrawnDialogHeight({apply, label}, 418), 422);
  EXPECT_EQ(DrawnDialogHeight({label}, 418), 418) << "a label may sit near the edge";
  EXPECT_EQ(DrawnDialogHeight({apply}, 430), 430) << "room enough already";
}

}  // namespace
}  // namespace ui
