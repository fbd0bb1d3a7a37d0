// Ids of the program's dialog templates, strings, icons and bitmaps.
#pragma once

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_MAIN_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;  // the application icon
constexpr int IDI_LOCKED = 133;
constexpr int IDI_UNLOCKED = 134;
constexpr int IDB_BANNER = 136;
constexpr int IDD_TUNER_SETTING = 130;
constexpr int IDD_CAPTURE_CONTROL = 131;
constexpr int IDD_POSITIONER = 148;

// Controls of the main dialog.
constexpr int IDC_BANNER = 1023;
constexpr int IDC_SHEET_BOTTOM_LINE = 1057;
constexpr int IDC_STRENGTH_TEXT = 1035;
constexpr int IDC_STRENGTH_BAR = 1007;
constexpr int IDC_QUALITY_TEXT = 1034;
constexpr int IDC_QUALITY_BAR = 1004;
constexpr int IDC_LOCK_TEXT = 1032;
constexpr int IDC_LOCK_ICON = 1008;

// The stream-information panel of the main dialog.
constexpr int IDC_APPLY = 1000;
constexpr int IDC_STREAM_TYPE = 1041;
constexpr int IDC_MODULATION = 1042;
constexpr int IDC_INPUT_STREAM = 1043;
constexpr int IDC_CODING_MODULATION = 1044;
constexpr int IDC_INPUT_SYNCHRO = 1045;
constexpr int IDC_NULL_PACKET_DELETION = 1046;
constexpr int IDC_ROLL_OFF = 1047;
constexpr int IDC_FEC = 1048;
constexpr int IDC_INPUT_STREAM_LIST = 1049;
constexpr int IDC_MATYPE = 1050;
constexpr int IDC_INTERMEDIATE_FREQUENCY = 1051;
constexpr int IDC_MEDIA_SYMBOL_RATE = 1052;
constexpr int IDC_DELIVERY_SYSTEM = 1053;
constexpr int IDC_SPECTRUM = 1054;
constexpr int IDC_FRAME_LENGTH = 1055;
constexpr int IDC_PILOTS = 1056;

// Controls of the Tuner Setting page.
constexpr int IDC_LOCK_TP = 1;
constexpr int IDC_POLARITY = 1002;
constexpr int IDC_DISEQC = 1003;
constexpr int IDC_OUTPUT_STREAM = 1007;
constexpr int IDC_SEND = 1011;
constexpr int IDC_FREQUENCY = 1012;
constexpr int IDC_LNB_LOW = 1013;
constexpr int IDC_SYMBOL_RATE = 1014;
constexpr int IDC_LNB_HIGH = 1015;
constexpr int IDC_SET_MOTOR = 1023;
constexpr int IDC_MOTOR0 = 1024;  // 1024 to 1028: message bytes 0 to 4

// Controls of the Capture Control page.
constexpr int IDC_RECORD_PROGRESS = 1004;
constexpr int IDC_BROWSE = 1029;
constexpr int IDC_RECORD_PATH = 1030;
constexpr int IDC_TIME_LIMIT = 1031;
constexpr int IDC_SIZE_LIMIT = 1032;
constexpr int IDC_USE_SIZE_LIMIT = 1033;
constexpr int IDC_USE_TIME_LIMIT = 1034;
constexpr int IDC_RECORD_STATUS = 1035;
constexpr int IDC_START_RECORD = 1036;
constexpr int IDC_CANCEL_RECORD = 1037;
constexpr int IDC_LIMIT_CAPTION = 1038;
constexpr int IDC_LIMIT_LINE = 1039;
constexpr int IDC_RECORD_HEALTH = 1040;  // the recording's packet and error counts

// Controls of the Motor/Positioner page.
constexpr int IDC_POS_COUNTRY = 1092;
constexpr int IDC_POS_CITY = 1086;
constexpr int IDC_POS_LATITUDE = 1068;
constexpr int IDC_POS_LONGITUDE = 1021;
constexpr int IDC_POS_SATELLITE = 1093;
constexpr int IDC_POS_GO = 1115;
constexpr int IDC_POS_NUMBER = 1098;  // the stored-position number
constexpr int IDC_POS_SPIN = 1097;
constexpr int IDC_POS_GOTO = 1002;
constexpr int IDC_POS_STEP_EAST = 1100;
constexpr int IDC_POS_STEP_WEST = 1004;
constexpr int IDC_POS_STOP = 1003;
constexpr int IDC_POS_DRIVE_EAST = 1101;
constexpr int IDC_POS_DRIVE_WEST = 1102;
constexpr int IDC_POS_STORE = 1099;
constexpr int IDC_POS_LIMIT_EAST = 1005;
constexpr int IDC_POS_LIMIT_WEST = 1006;
constexpr int IDC_POS_LIMITS_RESET = 1007;
constexpr int IDC_POS_USALS_OUTCOME = 1120;  // what the last "Go" computed and sent
constexpr int IDC_POS_LOOK_ANGLES = 1122;   // where a fixed dish would point
constexpr int IDC_POS_DISH_MOTION = 1121;    // the dish's angle, when the driver reports it

// Controls of the About box.
constexpr int IDC_VERSION_TEXT = 1050;

// Registers every template, string, icon and bitmap with the dialog framework.
void RegisterResources();
