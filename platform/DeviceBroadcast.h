#pragma once
// The device-change broadcast for a handle, laid out as the system's
// DEV_BROADCAST_HANDLE of a 64-bit process, so that a notification from the
// virtual touchscreens reads the same as one from the system.

#include "platform/Handles.h"

#include <cstdint>

constexpr unsigned kWmDeviceChange = 0x0219;
constexpr std::uintptr_t kDbtDeviceQueryRemove = 0x8001;
constexpr std::uintptr_t kDbtDeviceQueryRemoveFailed = 0x8002;
constexpr std::uintptr_t kDbtDeviceRemovePending = 0x8003;
constexpr std::uintptr_t kDbtDeviceRemoveComplete = 0x8004;
constexpr std::uint32_t kDbtDevTypeHandle = 6;

struct DeviceBroadcastHandle {
    std::uint32_t size = sizeof(DeviceBroadcastHandle);
    std::uint32_t deviceType = kDbtDevTypeHandle;
    std::uint32_t reserved = 0;
    DeviceHandle handle = nullptr;
    NotificationHandle notification = nullptr;
    std::uint8_t eventGuid[16] = {};
    std::int32_t nameOffset = 0;
    std::uint8_t data[1] = {};
};
