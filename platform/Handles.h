#pragma once
// Operating-system handles as portable code sees them: opaque values that
// only the seams interpret.

#include <cstdint>

using WindowHandle = void*;
using DeviceHandle = void*;
using NotificationHandle = void*;

// The value of a closed device handle (INVALID_HANDLE_VALUE on Windows).
inline DeviceHandle const kInvalidDeviceHandle = reinterpret_cast<DeviceHandle>(static_cast<std::intptr_t>(-1));
