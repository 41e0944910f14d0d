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
