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

// The region hint that follows the pointer (MessageInfoDlg)
#define IDD_MESSAGE_INFO 172
#define IDC_MESSAGE_INFO_TEXT 1090
