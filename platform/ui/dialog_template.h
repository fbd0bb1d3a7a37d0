// Dialog templates as data: every control with its id, kind, text, styles
// and rectangle in dialog units. The framework builds widgets from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

enum class ControlKind {
  Label,
  Edit,
  PushButton,
  DefPushButton,
  RadioButton,
  CheckBox,
  DropDownList,  // combo box that is not editable
  DropDown,      // combo box with an edit field: pick an entry or type
  GroupBox,
  ProgressBar,
  Bitmap,      // picture control showing a bitmap resource
  Icon,        // picture control showing an icon resource
  EtchedLine,  // horizontal etched line
  Spin,  // up-down arrows stepping the number in the edit box before it
};

// Styles a control can carry; combined as bits.
enum Style : std::uint32_t {
  kNoStyle = 0,
  kDisabled = 1u << 0,
  kBorder = 1u << 1,
  kReadOnly = 1u << 2,
  kDigitsOnly = 1u << 3,
  kHidden = 1u << 4,
  kSorted = 1u << 5,
  kVScroll = 1u << 6,
  kAutoHScroll = 1u << 7,
  kSmooth = 1u << 8,
  kWrap = 1u << 9,  // a spin control wraps around at the ends of its range
  kRightAligned = 1u << 10,  // a label's text ends at its right edge
};

struct DluRect {
  int x, y, cx, cy;
};

constexpr int kNoId = -1;

struct ControlTemplate {
  int id;
  ControlKind kind;
  std::string text;
  DluRect rect;
  std::uint32_t styles = kNoStyle;
  std::vector<std::string> items;  // combo box entries, in order
  int resourceId = 0;              // bitmap or icon shown by a picture control
};

struct DialogTemplate {
  int id;
  std::string caption;
  int cx, cy;  // size in dialog units
  std::vector<ControlTemplate> controls;
};

}  // namespace ui
