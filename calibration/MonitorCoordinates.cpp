#include "calibration/MonitorCoordinates.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

bool Holds(const ScreenRect& r, ScreenPoint p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Squared distance from the point to the nearest pixel of the rectangle.
std::int64_t DistanceSquared(const ScreenRect& r, ScreenPoint p)
{
    const std::int64_t dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - (r.right - 1) : 0);
    const std::int64_t dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - (r.bottom - 1) : 0);
    return dx * dx + dy * dy;
}

std::int64_t Overlap(const ScreenRect& a, const ScreenRect& b)
{
    const std::int64_t w = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
    const std::int64_t h = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// value x numerator / denominator, halves rounded away from zero (MulDiv).
std::int32_t ScaleRounded(std::int32_t value, unsigned numerator, unsigned denominator)
{
    if (numerator == denominator || denominator == 0)
        return value;
    const std::int64_t product = std::int64_t{value} * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / denominator;
    return static_cast<std::int32_t>(product < 0 ? -magnitude : magnitude);
}

// A point of the monitor's virtualised area in physical pixels: the same
// offset from the kept top-left corner, scaled by the monitor's DPI over the
// process's.
ScreenPoint ToPhysical(const MonitorArea& monitor, ScreenPoint point, unsigned processDpi)
{
    const ScreenRect& r = monitor.physical;
    return {r.left + ScaleRounded(point.x - r.left, monitor.dpi, processDpi),
            r.top + ScaleRounded(point.y - r.top, monitor.dpi, processDpi)};
}

std::vector<MonitorArea> Virtualised(std::span<const MonitorArea> monitors, unsigned processDpi)
{
    std::vector<MonitorArea> seen;
    for (const MonitorArea& monitor : monitors)
        seen.push_back({VirtualisedMonitorRect(monitor, processDpi), monitor.dpi});
    return seen;
}

} // namespace

std::optional<std::size_t> MonitorAtPoint(std::span<const MonitorArea> monitors, ScreenPoint point)
{
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (Holds(monitors[i].physical, point))
            return i;
    return std::nullopt;
}

std::optional<std::size_t> MonitorNearestPoint(std::span<const MonitorArea> monitors, ScreenPoint point)
{
    std::optional<std::size_t> nearest;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const std::int64_t distance = DistanceSquared(monitors[i].physical, point);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

std::optional<std::size_t> MonitorOfRect(std::span<const MonitorArea> monitors, const ScreenRect& rect)
{
    std::optional<std::size_t> most;
    std::int64_t best = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const std::int64_t overlap = Overlap(monitors[i].physical, rect);
        if (overlap > best) {
            best = overlap;
            most = i;
        }
    }
    if (most)
        return most;
    const ScreenPoint centre{static_cast<int>((std::int64_t{rect.left} + rect.right) / 2),
                             static_cast<int>((std::int64_t{rect.top} + rect.bottom) / 2)};
    return MonitorNearestPoint(monitors, centre);
}

unsigned DpiAtPoint(std::span<const MonitorArea> monitors, ScreenPoint point)
{
    const auto monitor = MonitorNearestPoint(monitors, point);
    return monitor ? monitors[*monitor].dpi : 96u;
}

ScreenRect VirtualisedMonitorRect(const MonitorArea& monitor, unsigned processDpi)
{
    const ScreenRect& r = monitor.physical;
    return {r.left, r.top, r.left + ScaleRounded(r.right - r.left, processDpi, monitor.dpi),
            r.top + ScaleRounded(r.bottom - r.top, processDpi, monitor.dpi)};
}

ScreenPoint PhysicalFromVirtualised(std::span<const MonitorArea> monitors, ScreenPoint point, unsigned processDpi)
{
    const std::vector<MonitorArea> seen = Virtualised(monitors, processDpi);
    const auto monitor = MonitorNearestPoint(seen, point);
    return monitor ? ToPhysical(monitors[*monitor], point, processDpi) : point;
}

ScreenRect PhysicalFromVirtualised(std::span<const MonitorArea> monitors, const ScreenRect& rect, unsigned processDpi)
{
    const std::vector<MonitorArea> seen = Virtualised(monitors, processDpi);
    const auto monitor = MonitorOfRect(seen, rect);
    if (!monitor)
        return rect;
    const ScreenPoint topLeft = ToPhysical(monitors[*monitor], {rect.left, rect.top}, processDpi);
    const ScreenPoint bottomRight = ToPhysical(monitors[*monitor], {rect.right, rect.bottom}, processDpi);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}
