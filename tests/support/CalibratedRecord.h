#pragma once
// The record a calibration over a whole monitor at the desktop's origin, the
// only monitor, stores for four raw touches: what the re-fit's tests and
// benchmarks start from. Portable, for the native and the Windows tests.

#include "calibration/CalibrationResult.h"

#include <array>
#include <cstdint>
#include <vector>

inline DeviceConfig RecordCalibratedOn(std::int32_t width, std::int32_t height,
                                       const std::array<RawTouchPoint, 4>& touches, std::int32_t touchScreenNumber)
{
    const std::vector<MonitorEntry> monitors = {{0, 0, width, height, 0}};
    CalibrationInput input;
    input.points = touches;
    input.window = {0, 0, width, height};
    input.monitors = monitors;
    input.mapping.monitorNumber = 0;
    DeviceConfig request{};
    request.TouchScreenNumber = touchScreenNumber;
    return ComputeCalibratedConfig(input, request);
}
