#pragma once
// The mouse as the virtual touchscreens' finger (Windows only): while a
// frame reports touches, a left-button release over the monitor its glass
// lies on becomes a touch at that place, scaled to the frame's raw range.

#include "platform/Monitors.h"

#include <cstdint>

class CSimHidPort;

// The raw point for a screen point on a monitor: 0 .. rawMax across the
// monitor's width and height (right and bottom edges excluded).
struct RawPoint {
    std::uint16_t x;
    std::uint16_t y;
};
RawPoint ScaleToRaw(int screenX, int screenY, const MonitorRect& monitor, std::uint16_t rawMaxX, std::uint16_t rawMaxY);

// Starts watching the mouse for the port's frames (once per process).
void StartMouseFinger(CSimHidPort& port);
