#pragma once
// What the program knows about one attached touchscreen.

#include "platform/HidDeviceInfo.h"

#include <cstdint>
#include <string>

// A calibration state that is neither 0 nor 1 disables the touchscreen's
// actions; this one marks a touchscreen whose number is unknown.
constexpr std::int32_t kCalibrationStateUnknown = -1;

struct TouchScreenRecord {
    NotificationHandle notification = nullptr;
    HidDeviceInfo hid;
    // The handle value the touchscreen was opened with. It stays its identity
    // after a query-remove closed the handle, so that the remove-complete
    // that follows still finds the record.
    DeviceHandle identity = kInvalidDeviceHandle;
    // The interface path, to open the touchscreen again after a refused removal.
    std::wstring interfacePath;
    std::int32_t openFlag = 0;
    std::int32_t hardwareVersion[4] = {0, 0, 0, 0};
    std::int8_t serialPart1 = 0;
    std::int8_t serialPart2 = 0;
    std::int32_t serialPart3 = 0;
    std::int32_t calibrationState = 0; // 1 calibrated, 0 not, other values disable its actions
    std::int32_t touchScreenNumber = 0;
    // Its number could not be read (or a new one not written): its stored
    // parameters are unknown, so its actions stay disabled.
    bool numberUnknown = false;
    // Touched in the mapping that ran last: the save writes its new number
    // into it. Its monitor is kept either way.
    bool boundInMapping = false;
    std::int32_t monitorNumber = 0;
    std::wstring deviceObjectName;
};
