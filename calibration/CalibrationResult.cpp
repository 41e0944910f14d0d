#include "calibration/CalibrationResult.h"

#include <limits>

// Computed in 64 bits so that no coordinate overflows; a result beyond 32
// bits saturates.
std::int32_t ScaleToFirstMonitor(std::int32_t coordinate, std::int32_t extent)
{
    std::int64_t value = (std::int64_t{coordinate} * 65536) / extent;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

DeviceConfig CalibrationReadRequest(const TouchScreenRecord& record)
{
    DeviceConfig request;
    request.TouchScreenNumber = record.touchScreenNumber;
    return request;
}

ScreenSize ScaleBase(std::span<const MonitorEntry> monitors, ScreenSize primaryScreen)
{
    // Every scaled value refers to the first monitor the display enumeration
    // reports, wherever the window lies; a window on a monitor right of it
    // gives 65536 and more, one left of it negative values.
    std::int32_t w0 = 0, h0 = 0;
    if (!monitors.empty()) {
        const MonitorEntry& first = monitors.front();
        w0 = first.right - first.left;
        h0 = first.bottom - first.top;
    }
    if (w0 <= 0 || h0 <= 0) {
        w0 = primaryScreen.width;
        h0 = primaryScreen.height;
    }
    // Without any screen size the scale is 1:1 (65536 per pixel).
    return {w0 > 0 ? w0 : 1, h0 > 0 ? h0 : 1};
}

DeviceConfig ComputeCalibratedConfig(const CalibrationInput& input, const DeviceConfig& stored)
{
    const auto [w0, h0] = ScaleBase(input.monitors, input.primaryScreen);

    const ScreenRect& r = input.window;
    std::int32_t width = r.right - r.left;
    std::int32_t height = r.bottom - r.top;

    DeviceConfig config = stored;
    config.AreaWidthScaled = ScaleToFirstMonitor(width, w0);
    config.AreaHeightScaled = ScaleToFirstMonitor(height, h0);
    config.AreaWidth = width;
    config.AreaHeight = height;
    config.M1X = input.points[0].x;
    config.M1Y = input.points[0].y;
    config.M2X = input.points[1].x;
    config.M2Y = input.points[1].y;
    config.M3X = input.points[2].x;
    config.M3Y = input.points[2].y;
    config.M4X = input.points[3].x;
    config.M4Y = input.points[3].y;
    config.OriginXScaled = ScaleToFirstMonitor(r.left, w0);
    config.OriginYScaled = ScaleToFirstMonitor(r.top, h0);
    // A signed comparison: an unset mapping (-1) is stored as it is.
    std::int32_t monitor = input.mapping.monitorNumber;
    config.MonitorID = monitor < static_cast<std::int32_t>(input.monitors.size()) ? monitor : 0;
    config.IsCalibrate = 1;
    config.AreaLeftScaled = ScaleToFirstMonitor(r.left, w0);
    config.AreaTopScaled = ScaleToFirstMonitor(r.top, h0);
    config.AreaRightScaled = ScaleToFirstMonitor(r.right, w0);
    config.AreaBottomScaled = ScaleToFirstMonitor(r.bottom, h0);
    return config;
}
