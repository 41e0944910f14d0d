#pragma once
// Window and thread messages shared by the subsystems (WM_USER + n values).

constexpr unsigned WM_DEVICE_REQUEST = 0x464;
constexpr unsigned WM_VERSION_REPLY = 0x465;
constexpr unsigned WM_SERIAL_REPLY = 0x466;
constexpr unsigned WM_DIAGNOSTICS_HEADER_REPLY = 0x467;
constexpr unsigned WM_DIAGNOSTICS_DATA_REPLY = 0x468;
constexpr unsigned WM_CALIBRATION_BEGIN = 0x469;
constexpr unsigned WM_TOUCH_POINT = 0x46B;
constexpr unsigned WM_MAPPING_CLOSED = 0x46C;
constexpr unsigned WM_OPENING_REPLY = 0x46D;
constexpr unsigned WM_UPDATE_REPLY = 0x46E;
constexpr unsigned WM_TOUCHSCREEN_REMOVED = 0x46F;
constexpr unsigned WM_NUMBER_READ_REPLY = 0x470;
constexpr unsigned WM_NUMBER_WRITE_REPLY = 0x471;
constexpr unsigned WM_UNREGISTER_NOTIFICATION = 0x472;
constexpr unsigned WM_DEVICE_IGNORED = 0x473;
constexpr unsigned WM_CALIBRATION_END = 0x474;
constexpr unsigned WM_MAPPING_END = 0x475;
