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
#define IDB_LIST_MONITOR_GONE 178   // list image 2, masked with RGB(255, 0, 255)
#define IDB_LIST_REFITTED 179       // list image 3, masked with RGB(255, 0, 255)

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
#define IDC_DIAGNOSIS_PICTURE 1138 // the frame's LEDs, drawn by the dialog over this placeholder
#define IDC_DIAGNOSIS_LED_HOVER 1139 // the line number of the LED under the pointer

// The update dialog (CUpdate)
#define IDD_UPDATE 132
#define IDC_UPDATE_PROGRESS 1083
#define IDC_UPDATE_PERCENT 1084
#define IDC_UPDATE_MESSAGE 1085
#define IDC_UPDATE_SENDING 1086

// The About dialog (CVersion)
#define IDD_VERSION 133
#define IDC_VERSION_OK 1 // IDOK
#define IDC_VERSION_UPDATE 1057
#define IDC_VERSION_LINK 1071
#define IDC_VERSION_PICTURE 1089
#define IDC_VERSION_DRIVER_LABEL 1134
#define IDC_VERSION_PANEL_LABEL 1135
#define IDC_VERSION_MAKER 1136
#define IDC_VERSION_RIGHTS_LABEL 1139
#define IDC_VERSION_RIGHTS 1140

// The TouchScreen Properties dialog (DovInfo)
#define IDD_PROPERTIES 178
#define IDC_PROPERTIES_OK 1 // IDOK
#define IDC_PROPERTIES_NUMBER_LABEL 1108
#define IDC_PROPERTIES_MONITOR_LABEL 1109
#define IDC_PROPERTIES_VERSION_LABEL 1110
#define IDC_PROPERTIES_SERIAL_LABEL 1111
#define IDC_PROPERTIES_CALIBRATED_LABEL 1112
#define IDC_PROPERTIES_INTERFACE_LABEL 1113
#define IDC_PROPERTIES_NUMBER 1114
#define IDC_PROPERTIES_MONITOR 1115
#define IDC_PROPERTIES_CALIBRATED 1116
#define IDC_PROPERTIES_INTERFACE 1117
#define IDC_PROPERTIES_VERSION 1118
#define IDC_PROPERTIES_SERIAL 1119
#define IDC_PROPERTIES_STATUS_LABEL 1120
#define IDC_PROPERTIES_STATUS 1121
#define IDC_PROPERTIES_GROUP 1138

// The calibration window (CCalibrateDlg)
#define IDD_CALIBRATE 136
#define IDC_CALIBRATE_OK 1 // IDOK
#define IDC_CALIBRATE_RECALIBRATE 1057
#define IDC_CALIBRATE_CANCEL 1069
#define IDC_CALIBRATE_HINT_1 1090 // hints 1 to 4: collecting the points
#define IDC_CALIBRATE_HINT_2 1091
#define IDC_CALIBRATE_HINT_3 1092
#define IDC_CALIBRATE_HINT_4 1093
#define IDC_CALIBRATE_REVIEW_1 1094 // hints 5 to 7: the review
#define IDC_CALIBRATE_REVIEW_2 1095
#define IDC_CALIBRATE_REVIEW_3 1096
#define IDC_CALIBRATE_NOTICE 1097 // why the window went back to the first target

// The region hint that follows the pointer (MessageInfoDlg)
#define IDD_MESSAGE_INFO 172
#define IDC_MESSAGE_INFO_TEXT 1090
