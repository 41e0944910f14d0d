#pragma once
// The record a calibration stores for a touchscreen: the four raw points,
// the screen rectangle they were taken in, in pixels and scaled to the
// first monitor (coordinate x 65536 / its width or height), the monitor and
// the calibrated flag. The driver maps raw coordinates with it.

#include "config/DeviceConfig.h"
#include "device/DeviceManager.h"

#include <array>
#include <cstdint>
#include <span>

// A raw touch point as the touchscreen reports it (the virtual frames' finger
// has a RawPoint of its own: distinct names keep the two layouts apart).
struct RawTouchPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

struct ScreenSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct CalibrationInput {
    // Top left, top right, bottom left, bottom right, as the touchscreen reported them.
    std::array<RawTouchPoint, 4> points;
    ScreenRect window; // the calibration window (or region), screen pixels
    std::span<const MonitorEntry> monitors;
    MappingEntry mapping;
    // Stands in for the first monitor when the table has none of any size.
    ScreenSize primaryScreen;
};

// The read request for the touchscreen's stored record (slot 21 names it).
DeviceConfig CalibrationReadRequest(const TouchScreenRecord& record);

// A scaled value: coordinate x 65536 / extent, truncated toward zero.
std::int32_t ScaleToFirstMonitor(std::int32_t coordinate, std::int32_t extent);

// The size every scaled value refers to: the first monitor's, or the
// primary screen's when the table has none of any size; at least 1 x 1.
ScreenSize ScaleBase(std::span<const MonitorEntry> monitors, ScreenSize primaryScreen);

// The record to store: `stored` as the configuration library returned it,
// with the calibration's slots filled and every other slot carried.
DeviceConfig ComputeCalibratedConfig(const CalibrationInput& input, const DeviceConfig& stored);
