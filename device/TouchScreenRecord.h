#pragma once
// What the program knows about one attached touchscreen.

#include "platform/HidDeviceInfo.h"

#include <cstdint>
#include <string>

struct TouchScreenRecord {
    NotificationHandle notification = nullptr;
    HidDeviceInfo hid;
    // The handle value the touchscreen was opened with. It stays its identity
    // after a query-remove closed the handle, so that the remove-complete
    // that follows still finds the record.
    DeviceHandle identity = kInvalidDeviceHandle;
    std::int32_t openFlag = 0;
    std::int32_t hardwareVersion[4] = {0, 0, 0, 0};
    std::int8_t serialPart1 = 0;
    std::int8_t serialPart2 = 0;
    std::int32_t serialPart3 = 0;
    std::int32_t calibrationState = 0; // 1 calibrated, 0 not, other values disable its actions
    std::int32_t touchScreenNumber = 0;
    std::int32_t monitorNumber = 0;
    std::wstring deviceObjectName;
};
