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
                              // The stream-information panel: value boxes the operator reads but cannot edit.
                              {kNoId, ControlKind::Label, "IF:", {19, 253, 20, 8}},
                              {IDC_INTERMEDIATE_FREQUENCY, ControlKind::Edit, "", {68, 251, 51, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "KHz", {128, 253, 20, 8}},
                              {kNoId, ControlKind::Label, "SymbolRate:", {162, 253, 50, 8}},
                              {IDC_MEDIA_SYMBOL_RATE, ControlKind::Edit, "", {218, 251, 51, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "Bds", {276, 253, 20, 8}},
                              {kNoId, ControlKind::GroupBox, "MATYPE", {1, 265, 311, 127}},
                              {kNoId, ControlKind::Label, "StreamType:", {8, 279, 54, 8}},
                              {IDC_STREAM_TYPE, ControlKind::Edit, "", {64, 277, 95, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "DVBS1/S2:", {166, 279, 76, 8}},
                              {IDC_DELIVERY_SYSTEM, ControlKind::Edit, "", {244, 277, 58, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "InputStream:", {8, 295, 54, 8}},
                              {IDC_INPUT_STREAM, ControlKind::Edit, "", {64, 293, 95, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "Modulation Type:", {166, 295, 76, 8}},
                              {IDC_MODULATION, ControlKind::Edit, "", {244, 293, 58, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "InputSynchro:", {8, 311, 54, 8}},
                              {IDC_INPUT_SYNCHRO, ControlKind::Edit, "", {64, 309, 95, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "CodingModulation:", {166, 311, 76, 8}},
                              {IDC_CODING_MODULATION, ControlKind::Edit, "", {244, 309, 58, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "Roll Off:", {8, 327, 54, 8}},
                              {IDC_ROLL_OFF, ControlKind::Edit, "", {64, 325, 95, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "NullPacketDeletion:", {166, 327, 76, 8}},
                              {IDC_NULL_PACKET_DELETION, ControlKind::Edit, "", {244, 325, 58, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "Pilots:", {8, 343, 54, 8}},
                              {IDC_PILOTS, ControlKind::Edit, "", {64, 341, 95, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "FEC:", {166, 343, 76, 8}},
                              {IDC_FEC, ControlKind::Edit, "", {244, 341, 58, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "FrameLength:", {8, 360, 54, 8}},
                              {IDC_FRAME_LENGTH, ControlKind::Edit, "", {64, 358, 95, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "Spectrum:", {166, 360, 76, 8}},
                              {IDC_SPECTRUM, ControlKind::Edit, "", {244, 358, 58, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "MATYPE:", {7, 378, 55, 8}},
                              {IDC_MATYPE, ControlKind::Edit, "", {64, 376, 232, 13}, kReadOnly | kBorder},
                              {kNoId, ControlKind::Label, "Input Stream Identify:", {17, 402, 89, 8}},
                              {IDC_INPUT_STREAM_LIST, ControlKind::DropDownList, "", {108, 400, 98, 44}, kSorted | kVScroll},
                              {IDC_APPLY, ControlKind::PushButton, "Apply", {230, 399, 66, 16}},
                          }});

  // The pages; their controls arrive with their behaviour.
  RegisterDialogTemplate(
      {IDD_TUNER_SETTING, "Tuner Setting", 296, 151,
       {
           {kNoId, ControlKind::GroupBox, "", {6, 0, 283, 93}},
           {kNoId, ControlKind::Label, "Frequency:", {23, 16, 46, 8}},
           {1012, ControlKind::Edit, "", {71, 14, 41, 14}, kDigitsOnly | kBorder},
           {kNoId, ControlKind::Label, "MHZ", {119, 16, 24, 8}},
           {kNoId, ControlKind::Label, "SymbolRate:", {156, 16, 47, 8}},
           {1014, ControlKind::Edit, "", {208, 14, 41, 14}, kDigitsOnly | kBorder},
           {kNoId, ControlKind::Label, "KSps", {255, 16, 25, 8}},
           {kNoId, ControlKind::Label, "LNBLow:", {23, 36, 32, 8}},
           {1013, ControlKind::Edit, "", {71, 34, 41, 14}, kDigitsOnly | kBorder},
           {kNoId, ControlKind::Label, "MHZ", {119, 37, 26, 8}},
           {kNoId, ControlKind::Label, "LNBHi:", {156, 36, 28, 8}},
           {1015, ControlKind::Edit, "", {208, 34, 41, 14}, kDigitsOnly | kBorder},
           {kNoId, ControlKind::Label, "MHZ", {255, 35, 25, 8}},
           {kNoId, ControlKind::Label, "Polarity:", {23, 56, 44, 8}},
           {1002, ControlKind::DropDownList, "", {70, 53, 76, 40}, kNoStyle, {"Horizontal", "Vertical"}},
           {kNoId, ControlKind::Label, "Diseqc:", {156, 56, 37, 8}},
           {1003, ControlKind::DropDownList, "", {203, 53, 76, 83}, kNoStyle,
            {"Diseqc NULL", "Diseqc A", "Diseqc B", "Diseqc C", "Diseqc D"}},
           {kNoId, ControlKind::Label, "OutPutStream:", {23, 76, 56, 8}},
           {1007, ControlKind::DropDownList, "", {107, 73, 109, 44}, kNoStyle, {"TS", "GS"}},
           {kNoId, ControlKind::GroupBox, "", {6, 91, 283, 32}},
           {kNoId, ControlKind::Label, "Motor", {23, 103, 21, 8}},
           {1024, ControlKind::Edit, "", {57, 101, 23, 14}, kBorder},
           {1025, ControlKind::Edit, "", {89, 101, 23, 14}, kBorder},
           {1026, ControlKind::Edit, "", {123, 101, 23, 14}, kBorder},
           {1027, ControlKind::Edit, "", {155, 101, 23, 14}, kBorder},
           {1028, ControlKind::Edit, "", {187, 101, 22, 14}, kBorder},
           {1023, ControlKind::PushButton, "Set Motor", {221, 101, 50, 14}},
           {1011, ControlKind::PushButton, "Send", {15, 130, 26, 14}, kHidden},
           {1, ControlKind::DefPushButton, "Lock TP", {170, 128, 122, 17}},
       }});
  // The outer frame and "Record Process:" are 12 units taller than the
  // classic page, for the recording's health line under the progress bar.
  RegisterDialogTemplate(
      {IDD_CAPTURE_CONTROL, "Capture Control", 302, 170,
       {
           {kNoId, ControlKind::GroupBox, "", {4, 0, 294, 166}},
           {kNoId, ControlKind::Label, "Store File Path:", {16, 11, 73, 8}},
           {IDC_RECORD_PATH, ControlKind::Edit, "", {95, 9, 172, 14}, kBorder | kAutoHScroll},
           {IDC_BROWSE, ControlKind::PushButton, "...", {271, 9, 18, 14}},
           {kNoId, ControlKind::GroupBox, "Limit Option:", {8, 24, 285, 44}},
           {IDC_USE_SIZE_LIMIT, ControlKind::RadioButton, "Use File Size Limit", {18, 36, 107, 10}},
           {IDC_USE_TIME_LIMIT, ControlKind::RadioButton, "Use Time Limit", {147, 36, 93, 10}},
           {IDC_SIZE_LIMIT, ControlKind::Edit, "", {27, 49, 52, 12}, kBorder},
           {kNoId, ControlKind::Label, "MB", {91, 51, 27, 8}},
           {IDC_TIME_LIMIT, ControlKind::Edit, "", {154, 49, 52, 12}, kBorder},
           {kNoId, ControlKind::Label, "Seconds", {218, 51, 46, 8}},
           {kNoId, ControlKind::GroupBox, "Record Control:", {9, 70, 285, 33}},
           {IDC_START_RECORD, ControlKind::PushButton, "Start Record", {43, 81, 82, 17}},
           {IDC_CANCEL_RECORD, ControlKind::PushButton, "Cancel Record", {157, 81, 81, 17}},
           {kNoId, ControlKind::GroupBox, "Record Process:", {10, 106, 285, 56}},
           {kNoId, ControlKind::Label, "Status:", {14, 118, 37, 8}},
           {IDC_RECORD_STATUS, ControlKind::Edit, "", {57, 117, 92, 12}, kReadOnly},
           {IDC_LIMIT_CAPTION, ControlKind::Label, "File Size:", {158, 117, 52, 8}},
           {IDC_LIMIT_LINE, ControlKind::Edit, "", {216, 117, 68, 12}, kReadOnly},
           {IDC_RECORD_PROGRESS, ControlKind::ProgressBar, "", {17, 131, 267, 12}},
           {IDC_RECORD_HEALTH, ControlKind::Label, "", {17, 148, 267, 8}},
       }});
  // The last row (the USALS outcome and the dish's motion) adds to the
  // page's classic 155 units.
  RegisterDialogTemplate(
      {IDD_POSITIONER, "Motor/Positioner", 281, 166,
       {
           {kNoId, ControlKind::GroupBox, "", {6, 0, 262, 75}},
           {kNoId, ControlKind::Label, "Country:", {30, 6, 30, 8}},
           {IDC_POS_COUNTRY, ControlKind::DropDown, "", {27, 18, 111, 110}, kSorted | kVScroll},
           {kNoId, ControlKind::Label, "City:", {154, 6, 16, 8}},
           {IDC_POS_CITY, ControlKind::DropDown, "", {159, 18, 97, 100}, kSorted | kVScroll},
           {kNoId, ControlKind::Label, "Latitude:", {55, 36, 37, 8}},
           {IDC_POS_LATITUDE, ControlKind::Edit, "", {98, 35, 42, 15}, kBorder | kAutoHScroll},
           {kNoId, ControlKind::Label, "Longitude:", {160, 36, 45, 8}},
           {IDC_POS_LONGITUDE, ControlKind::Edit, "", {212, 35, 42, 15}, kBorder | kAutoHScroll},
           {kNoId, ControlKind::Label, "Satellite:", {29, 46, 47, 8}},
           {IDC_POS_SATELLITE, ControlKind::DropDown, "", {29, 57, 148, 78}, kSorted | kVScroll},
           {IDC_POS_GO, ControlKind::DefPushButton, "Go", {209, 55, 50, 15}},
           {kNoId, ControlKind::GroupBox, "", {6, 76, 192, 75}},
           {IDC_POS_LOOK_ANGLES, ControlKind::Label, "", {12, 79, 184, 8}},
           {kNoId, ControlKind::Label, "Position:", {30, 93, 34, 9}},
           {IDC_POS_NUMBER, ControlKind::Edit, "", {73, 90, 46, 15}, kBorder | kAutoHScroll},
           {IDC_POS_SPIN, ControlKind::Spin, "", {119, 93, 11, 18}, kWrap},
           {IDC_POS_GOTO, ControlKind::PushButton, "Goto", {135, 90, 46, 15}},
           {IDC_POS_STEP_EAST, ControlKind::PushButton, "Step East", {25, 111, 46, 15}},
           {IDC_POS_STEP_WEST, ControlKind::PushButton, "Step West", {81, 111, 46, 15}},
           {IDC_POS_STOP, ControlKind::PushButton, "Stop", {135, 111, 46, 15}},
           {IDC_POS_DRIVE_EAST, ControlKind::PushButton, "Drive East", {25, 131, 46, 15}},
           {IDC_POS_DRIVE_WEST, ControlKind::PushButton, "Drive West", {81, 131, 46, 15}},
           {IDC_POS_STORE, ControlKind::PushButton, "Store", {135, 131, 46, 15}},
           {kNoId, ControlKind::GroupBox, "Limits", {200, 77, 68, 75}},
           {IDC_POS_LIMIT_EAST, ControlKind::PushButton, "East", {210, 90, 46, 15}},
           {IDC_POS_LIMIT_WEST, ControlKind::PushButton, "West", {210, 111, 46, 15}},
           {IDC_POS_LIMITS_RESET, ControlKind::PushButton, "Reset", {210, 131, 46, 15}},
           {IDC_POS_USALS_OUTCOME, ControlKind::Label, "", {8, 155, 270, 8}},
           {IDC_POS_DISH_MOTION, ControlKind::Label, "", {176, 6, 86, 8}, kRightAligned},
       }});
}

}  // namespace resources
