// Dialog templates: controls, texts and positions in dialog units.
#include "platform/ui/resource_registry.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"

using namespace ui;

namespace resources {

void RegisterTemplates() {
  RegisterDialogTemplate({IDD_ABOUTBOX, "OrvaneRX40 Tessel", 247, 65,
                          {
                              {kNoId, ControlKind::Icon, "", {11, 18, 20, 20}, kNoStyle, {}, IDR_MAINFRAME},
                              {kNoId, ControlKind::Label, "OrvaneRX40 Tessel Tool", {43, 9, 119, 8}},
                              {kNoId, ControlKind::Label, "Version:", {43, 26, 35, 8}},
                              {IDC_VERSION_TEXT, ControlKind::Label, "Static", {87, 26, 89, 8}},
                              {1, ControlKind::DefPushButton, "OK", {187, 12, 50, 14}},
                          }});

  RegisterDialogTemplate({IDD_MAIN_DIALOG, "OrvaneRX40 Tessel", 315, 418,
                          {
                              {IDC_BANNER, ControlKind::Bitmap, "", {0, 0, 313, 25}, kNoStyle, {}, IDB_BANNER},
                              {kNoId, ControlKind::GroupBox, "", {4, 211, 308, 36}},
                              {IDC_SHEET_BOTTOM_LINE, ControlKind::EtchedLine, "", {0, 212, 315, 1}},
                              {kNoId, ControlKind::Label, "Strength:", {9, 220, 41, 8}},
                              {IDC_STRENGTH_TEXT, ControlKind::Edit, "", {61, 218, 32, 12}, kDisabled | kBorder},
                              {IDC_STRENGTH_BAR, ControlKind::ProgressBar, "", {105, 219, 68, 9}, kSmooth},
                              {kNoId, ControlKind::Label, "Quality:", {10, 233, 40, 8}},
                              {IDC_QUALITY_TEXT, ControlKind::Edit, "", {61, 232, 32, 12}, kDisabled | kBorder},
                              {IDC_QUALITY_BAR, ControlKind::ProgressBar, "", {105, 233, 68, 9}, kSmooth},
                              {kNoId, ControlKind::Label, "LockStatus:", {180, 227, 46, 8}},
                              {IDC_LOCK_TEXT, ControlKind::Edit, "", {231, 224, 34, 14}, kDisabled | kBorder},
                              {IDC_LOCK_ICON, ControlKind::Icon, "", {273, 221, 21, 20}, kNoStyle, {}, IDI_UNLOCKED},
                          }});

  // The pages; their controls arrive with their behaviour.
  RegisterDialogTemplate({IDD_TUNER_SETTING, "Tuner Setting", 296, 151, {}});
  RegisterDialogTemplate({IDD_CAPTURE_CONTROL, "Capture Control", 302, 158, {}});
  RegisterDialogTemplate({IDD_POSITIONER, "Motor/Positioner", 281, 155, {}});
}

}  // namespace resources
