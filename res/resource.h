// Resource ids of PelnoCpl.rc, shared by the resource script and the code.
// Each dialog's ids stand together in one block, headed by its template id;
// a control id that several dialogs share (1057, 1089) is defined in each
// dialog's block under that dialog's own name.
#pragma once

// Icons and bitmaps
#define IDI_APPLICATION_ICON 128
#define IDB_LIST_CALIBRATED 175     // list image 1, masked with black
#define IDB_LIST_NOT_CALIBRATED 176 // list image 0, masked with RGB(255, 0, 255)
#define IDB_PICTURE 177             // the main dialog's picture

// The main dialog (COvamerDlg)
#define IDD_MAIN 102
#define IDC_EXIT 1 // IDOK
#define IDC_SETTINGS 1053
#define IDC_DIAGNOSTICS 1054
#define IDC_ABOUT 1055
#define IDC_CALIBRATE 1056
#define IDC_TOUCHSCREEN_LIST 1064
#define IDC_MAPPING 1070
#define IDC_PICTURE 1089
#define IDC_REGION_CALIBRATE 1105
#define IDC_LIST_GROUP 1117
#define IDC_CALIBRATION_HINT 1118
#define IDC_CALIBRATE_TITLE 1119
#define IDC_CALIBRATE_WHEN_NEW 1120
#define IDC_REGION_WHEN_PART 1121
#define IDC_MAPPING_TITLE 1122
#define IDC_MAPPING_WHEN_SEVERAL 1123
#define IDC_REGION_TITLE 1124
#define IDC_CALIBRATE_WHEN_INACCURATE 1125
#define IDC_HELP_MANUAL 57670

// The Settings dialog (CBasicprop)
#define IDD_SETTINGS 139
#define IDC_APPLY 1003
#define IDC_CLICK_ON_TOUCH 1005 // the click mode's radio group: Mode 0, 1, 2
#define IDC_CLICK_ON_RELEASE 1006
#define IDC_MOUSE_EMULATION 1007
#define IDC_ENABLE_RIGHT_CLICK 1008
#define IDC_ENABLE_DOUBLE_CLICK 1011
#define IDC_ENABLE_DELAY_TOUCH 1014
#define IDC_HIDE_CURSOR 1016
#define IDC_ENABLE_DRAG_DELAY 1018
#define IDC_ENABLE_BEEP 1027
#define IDC_DOUBLE_CLICK_TIME 1034 // sliders
#define IDC_DOUBLE_CLICK_AREA 1035
#define IDC_RIGHT_CLICK_TIME 1036
#define IDC_RIGHT_CLICK_AREA 1037
#define IDC_DELAY_TOUCH_TIME 1038
#define IDC_DRAG_DELAY_TIME 1039
#define IDC_RIGHT_CLICK_TIME_VALUE 1040 // the sliders' value labels
#define IDC_RIGHT_CLICK_AREA_VALUE 1041
#define IDC_DOUBLE_CLICK_TIME_VALUE 1042
#define IDC_DOUBLE_CLICK_AREA_VALUE 1043
#define IDC_DELAY_TOUCH_TIME_VALUE 1044
#define IDC_DRAG_DELAY_TIME_VALUE 1045
#define IDC_BEEP_DURATION_VALUE 1050
#define IDC_BEEP_FREQUENCY_VALUE 1051
#define IDC_BEEP_FREQUENCY 1072
#define IDC_BEEP_DURATION 1073
#define IDC_SOUND_CARD 1078    // BeepType 1
#define IDC_BEEP_ON_TOUCH 1079 // the beep mode's radio group: BeepMode 0, 1, 2
#define IDC_BEEP_ON_RELEASE 1080
#define IDC_BEEP_BOTH 1081
#define IDC_PC_SPEAKER 1082 // BeepType 0, first of its group
#define IDC_DRAG_DELAY_GROUP 1097
#define IDC_DELAY_TOUCH_GROUP 1098
#define IDC_DOUBLE_CLICK_GROUP 1099
#define IDC_RIGHT_CLICK_GROUP 1100
#define IDC_BEEP_GROUP 1101
#define IDC_ENABLE_TOUCH 1104
#define IDC_MODES_GROUP 1124
#define IDC_OPTIONS_GROUP 1125
#define IDC_FREQUENCY_LABEL 1126
#define IDC_DURATION_LABEL 1127
#define IDC_RIGHT_CLICK_DELAY_LABEL 1128
#define IDC_DELAY_TOUCH_DELAY_LABEL 1129
#define IDC_DOUBLE_CLICK_SPEED_LABEL 1130
#define IDC_DOUBLE_CLICK_AREA_LABEL 1131
#define IDC_DRAG_DELAY_DELAY_LABEL 1132
#define IDC_RIGHT_CLICK_AREA_LABEL 1133

// The mapping dialog (CDeviceMatchDlg): a full-screen popup without controls
#define IDD_DEVICE_MATCH 138

// The Diagnostics dialog (CDiagnosis)
#define IDD_DIAGNOSIS 134
#define IDC_DIAGNOSIS_CLOSE 1 // IDOK
#define IDC_DIAGNOSIS_LIST 1018
#define IDC_DIAGNOSIS_EXPORT 1057
#define IDC_DIAGNOSIS_RUN 1063
#define IDC_DIAGNOSIS_GROUP 1137
