#pragma once
// The per-touchscreen parameter record exchanged whole with the configuration
// library: 34 signed 32-bit slots, fixed in order and width.
//
// The area is the screen rectangle (pixels) the touchscreen was calibrated
// in; "scaled" values are coordinate x 65536 / width (or height) of the first
// monitor. Slots the program does not name are carried unchanged from the
// read that filled the record to the write that stores it.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

constexpr std::size_t kDeviceConfigSlots = 34;

struct DeviceConfig {
    std::int32_t AreaWidthScaled = 0;   // 0
    std::int32_t AreaHeightScaled = 0;  // 1
    std::int32_t AreaWidth = 0;         // 2
    std::int32_t AreaHeight = 0;        // 3
    std::int32_t Reserved4[3] = {};     // 4-6
    std::int32_t M1X = 0;               // 7: the four raw calibration points, x before y
    std::int32_t M1Y = 0;               // 8
    std::int32_t M2X = 0;               // 9
    std::int32_t M2Y = 0;               // 10
    std::int32_t M3X = 0;               // 11
    std::int32_t M3Y = 0;               // 12
    std::int32_t M4X = 0;               // 13
    std::int32_t M4Y = 0;               // 14
    std::int32_t Reserved15[4] = {};    // 15-18
    std::int32_t OriginXScaled = 0;     // 19: area left, scaled
    std::int32_t OriginYScaled = 0;     // 20: area top, scaled
    std::int32_t TouchScreenNumber = 0; // 21: chooses the touchscreen for a read
    std::int32_t MonitorID = 0;         // 22: index in the monitor table
    std::int32_t IsCalibrate = 0;       // 23: 1 calibrated
    std::int32_t Reserved24[6] = {};    // 24-29
    std::int32_t AreaLeftScaled = 0;    // 30
    std::int32_t AreaTopScaled = 0;     // 31
    std::int32_t AreaRightScaled = 0;   // 32
    std::int32_t AreaBottomScaled = 0;  // 33
};

static_assert(sizeof(DeviceConfig) == 136);
static_assert(offsetof(DeviceConfig, AreaWidthScaled) == 0);
static_assert(offsetof(DeviceConfig, AreaHeightScaled) == 4);
static_assert(offsetof(DeviceConfig, AreaWidth) == 8);
static_assert(offsetof(DeviceConfig, AreaHeight) == 12);
static_assert(offsetof(DeviceConfig, Reserved4) == 16);
static_assert(offsetof(DeviceConfig, M1X) == 28);
static_assert(offsetof(DeviceConfig, M1Y) == 32);
static_assert(offsetof(DeviceConfig, M2X) == 36);
static_assert(offsetof(DeviceConfig, M2Y) == 40);
static_assert(offsetof(DeviceConfig, M3X) == 44);
static_assert(offsetof(DeviceConfig, M3Y) == 48);
static_assert(offsetof(DeviceConfig, M4X) == 52);
static_assert(offsetof(DeviceConfig, M4Y) == 56);
static_assert(offsetof(DeviceConfig, Reserved15) == 60);
static_assert(offsetof(DeviceConfig, OriginXScaled) == 76);
static_assert(offsetof(DeviceConfig, OriginYScaled) == 80);
static_assert(offsetof(DeviceConfig, TouchScreenNumber) == 84);
static_assert(offsetof(DeviceConfig, MonitorID) == 88);
static_assert(offsetof(DeviceConfig, IsCalibrate) == 92);
static_assert(offsetof(DeviceConfig, Reserved24) == 96);
static_assert(offsetof(DeviceConfig, AreaLeftScaled) == 120);
static_assert(offsetof(DeviceConfig, AreaTopScaled) == 124);
static_assert(offsetof(DeviceConfig, AreaRightScaled) == 128);
static_assert(offsetof(DeviceConfig, AreaBottomScaled) == 132);

// The record as its 34 slots, and back (a copy of the same bytes).
using DeviceConfigSlots = std::array<std::int32_t, kDeviceConfigSlots>;
inline DeviceConfigSlots ToSlots(const DeviceConfig& config) { return std::bit_cast<DeviceConfigSlots>(config); }
inline DeviceConfig FromSlots(const DeviceConfigSlots& slots) { return std::bit_cast<DeviceConfig>(slots); }
