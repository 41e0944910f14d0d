#pragma once
// Where a point or a rectangle of the desktop lies when monitors scale
// differently, and what a process that is not per-monitor DPI aware sees.
//
// The program runs per-monitor DPI aware: the monitor table, the cursor and
// every window rectangle are physical pixels of the virtual screen, and a
// monitor's DPI (96 = 100 %) only scales what is drawn on it. The geometry a
// calibration stores is physical; the hint's size and offsets, texts and pens
// follow the DPI of the monitor they are drawn on.
//
// A process that is only system aware sees a monitor of another DPI
// virtualised: its top-left corner where it is, its width and height scaled
// by the process's DPI over the monitor's. A primary at 100 % and a monitor
// at 150 % left of it, as physical pixels and as a 96-DPI process sees them:
//
//   (-2880,0)        (0,0)                  (-2880,0)   (0,0)
//   +----------------+-----------+          +--------+  +-----------+
//   | 2880 x 1620    | 1920x1080 |    ->    |1920x1080  | 1920x1080 |
//   | 144 DPI        | 96 DPI    |          +--------+  +-----------+
//   +----------------+-----------+

#include "calibration/CalibrationResult.h"

#include <cstddef>
#include <optional>
#include <span>

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// A monitor in physical pixels and the DPI its contents are drawn at.
struct MonitorArea {
    ScreenRect physical;
    unsigned dpi = 96;
};

// The monitor holding the point: left and top edges inside, right and
// bottom edges outside, as the system counts them.
std::optional<std::size_t> MonitorAtPoint(std::span<const MonitorArea> monitors, ScreenPoint point);

// The monitor holding the point, else the one nearest to it (the first of
// equals); none without monitors.
std::optional<std::size_t> MonitorNearestPoint(std::span<const MonitorArea> monitors, ScreenPoint point);

// The monitor a window over the rectangle belongs to, whose DPI it is drawn
// at: the one it overlaps most (the first of equals), else the one nearest
// to its centre. A region dragged over two monitors is one window on one of
// them.
std::optional<std::size_t> MonitorOfRect(std::span<const MonitorArea> monitors, const ScreenRect& rect);

// The DPI of the monitor nearest the point; 96 without monitors.
unsigned DpiAtPoint(std::span<const MonitorArea> monitors, ScreenPoint point);

// The monitor as a process aware of `processDpi` only sees it.
ScreenRect VirtualisedMonitorRect(const MonitorArea& monitor, unsigned processDpi);

// A point or a window rectangle as such a process reads it, in physical
// pixels. A point converts by the monitor whose virtualised area holds it
// (else the nearest); a rectangle by the monitor it overlaps most, so that a
// window covering a monitor keeps its right and bottom edges on that
// monitor's. Without monitors nothing changes.
ScreenPoint PhysicalFromVirtualised(std::span<const MonitorArea> monitors, ScreenPoint point, unsigned processDpi);
ScreenRect PhysicalFromVirtualised(std::span<const MonitorArea> monitors, const ScreenRect& rect, unsigned processDpi);
