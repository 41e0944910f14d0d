#include "calibration/CalibrationRefit.h"

#include "config/ConfigurationLibrary.h"
#include "config/DeviceKey.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace {

// Scaled values refer to a first monitor of at most this extent: beyond it
// one pixel no longer changes a scaled value.
constexpr std::int64_t kMaxExtent = 65535;

// ---- the display recovered from the record alone

// The coordinate whose scaled value, over that extent, is `scaled`.
std::optional<std::int32_t> Unscale(std::int32_t scaled, std::int32_t extent)
{
    const std::int64_t estimate = std::int64_t{scaled} * extent / 65536;
    for (std::int64_t c = estimate - 2; c <= estimate + 2; ++c)
        if (c >= std::numeric_limits<std::int32_t>::min() && c <= std::numeric_limits<std::int32_t>::max() &&
            ScaleToFirstMonitor(static_cast<std::int32_t>(c), extent) == scaled)
            return static_cast<std::int32_t>(c);
    return std::nullopt;
}

struct AxisFit {
    std::int32_t extent = 0; // the first monitor's width (or height)
    std::int32_t low = 0, high = 0;
};

// Every first-monitor extent, with the area's edges, that gives the record's
// scaled values along one axis. The scaled length narrows the extents to
// those within one step of length x 65536 / scaled length; the edges decide
// among them.
std::vector<AxisFit> FitAxis(std::int32_t length, std::int32_t scaledLength, std::int32_t scaledLow,
                             std::int32_t scaledHigh)
{
    std::vector<AxisFit> fits;
    if (length <= 0 || scaledLength <= 0)
        return fits;
    const std::int64_t product = std::int64_t{length} * 65536;
    const std::int64_t first = std::max<std::int64_t>(1, product / (std::int64_t{scaledLength} + 1) + 1);
    const std::int64_t last = std::min(kMaxExtent, product / scaledLength);
    for (std::int64_t e = first; e <= last; ++e) {
        const auto extent = static_cast<std::int32_t>(e);
        const std::optional<std::int32_t> low = Unscale(scaledLow, extent);
        if (low && ScaleToFirstMonitor(length, extent) == scaledLength &&
            ScaleToFirstMonitor(*low + length, extent) == scaledHigh)
            fits.push_back({extent, *low, *low + length});
    }
    return fits;
}

// Of several extents that fit, the first monitor's as it is now, if it is one.
AxisFit Prefer(const std::vector<AxisFit>& fits, std::int32_t current)
{
    auto same = std::find_if(fits.begin(), fits.end(), [&](const AxisFit& fit) { return fit.extent == current; });
    return same != fits.end() ? *same : fits.front();
}

bool Inside(const ScreenRect& area, const MonitorEntry& monitor)
{
    return area.left >= monitor.left && area.top >= monitor.top && area.right <= monitor.right &&
           area.bottom <= monitor.bottom;
}

// The display of a record calibrated before displays were kept, or whose
// kept display an import voided. An area inside the first monitor (at the
// origin) was a part of it; any other area is taken as a whole monitor.
// The orientation is not known: the caller decides.
std::optional<CalibratedDisplay> RecoverDisplay(const DeviceConfig& r, ScreenSize currentFirst)
{
    if (r.OriginXScaled != r.AreaLeftScaled || r.OriginYScaled != r.AreaTopScaled)
        return std::nullopt;
    const std::vector<AxisFit> xs = FitAxis(r.AreaWidth, r.AreaWidthScaled, r.AreaLeftScaled, r.AreaRightScaled);
    const std::vector<AxisFit> ys = FitAxis(r.AreaHeight, r.AreaHeightScaled, r.AreaTopScaled, r.AreaBottomScaled);
    if (xs.empty() || ys.empty())
        return std::nullopt;
    const AxisFit x = Prefer(xs, currentFirst.width), y = Prefer(ys, currentFirst.height);
    CalibratedDisplay display;
    display.firstMonitor = {x.extent, y.extent};
    display.area = {x.low, y.low, x.high, y.high};
    const MonitorEntry firstMonitor{0, 0, x.extent, y.extent};
    display.monitor = Inside(display.area, firstMonitor) ? firstMonitor : MonitorEntry{x.low, y.low, x.high, y.high};
    return display;
}

// ---- the geometry of a turn

bool Flipped(const MonitorEntry& a, const MonitorEntry& b)
{
    const std::int32_t aw = a.right - a.left, ah = a.bottom - a.top;
    const std::int32_t bw = b.right - b.left, bh = b.bottom - b.top;
    return (aw > ah && bw < bh) || (aw < ah && bw > bh);
}

// offset x length / extent, rounded to the nearest integer (halves up).
std::int32_t Share(std::int64_t offset, std::int64_t length, std::int64_t extent)
{
    const std::int64_t n = 2 * offset * length + extent, d = 2 * extent;
    return static_cast<std::int32_t>(n >= 0 ? n / d : -((-n + d - 1) / d));
}

// The area's edges as the same fractions of the new monitor. The picture
// turned counter-clockwise by `turns` quarter turns against the frame, so
// the area turns clockwise within it: each quarter turn, its left and right
// edges become the old bottom and top edges' distances from the bottom, and
// its top and bottom the old left and right.
ScreenRect FitArea(const ScreenRect& area, const MonitorEntry& from, const MonitorEntry& to, int turns)
{
    struct Span {
        std::int64_t low, high, extent;
    };
    Span x{area.left - from.left, area.right - from.left, from.right - from.left};
    Span y{area.top - from.top, area.bottom - from.top, from.bottom - from.top};
    for (int i = 0; i < turns; ++i) {
        const Span flippedY{y.extent - y.high, y.extent - y.low, y.extent};
        y = x;
        x = flippedY;
    }
    const std::int64_t w = to.right - to.left, h = to.bottom - to.top;
    return {to.left + Share(x.low, w, x.extent), to.top + Share(y.low, h, y.extent),
            to.left + Share(x.high, w, x.extent), to.top + Share(y.high, h, y.extent)};
}

struct Position {
    double x = 0, y = 0;
};

// Where a pixel of the new display lies on the old one: its fractions of the
// new monitor, turned back with the picture (u, v) -> (v, 1 - u) per quarter
// turn, on the old monitor.
Position OnOldDisplay(Position p, const MonitorEntry& from, const MonitorEntry& to, int turns)
{
    double u = (p.x - to.left) / (to.right - to.left);
    double v = (p.y - to.top) / (to.bottom - to.top);
    for (int i = 0; i < turns; ++i) {
        const double turnedU = v;
        v = 1 - u;
        u = turnedU;
    }
    return {from.left + u * (from.right - from.left), from.top + v * (from.bottom - from.top)};
}

// Target `index` at the layout's fractions of the area: an eighth of the
// width and a sixth of the height in from its edges. The window draws it at
// the whole pixel below; taken at its fraction, a target keeps its raw point
// when only the area's size changed.
Position TargetPosition(int index, const ScreenRect& area)
{
    const double w = area.right - area.left, h = area.bottom - area.top;
    return {area.left + (index % 2 == 0 ? w / 8 : w - w / 8), area.top + (index < 2 ? h / 6 : h - h / 6)};
}

std::int32_t RoundRaw(double value)
{
    const double limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::llround(std::clamp(value, -limit, limit)));
}

// The raw point at a position of the old display, interpolated bilinearly
// between the raw points of the old targets (extrapolated beyond them).
RawTouchPoint RawAt(Position p, const std::array<RawTouchPoint, 4>& raw, const ScreenRect& area)
{
    const Position first = TargetPosition(0, area), last = TargetPosition(3, area);
    const double s = (p.x - first.x) / (last.x - first.x);
    const double t = (p.y - first.y) / (last.y - first.y);
    auto mix = [&](std::int32_t RawTouchPoint::*axis) {
        const double top = raw[0].*axis + s * (raw[1].*axis - raw[0].*axis);
        const double bottom = raw[2].*axis + s * (raw[3].*axis - raw[2].*axis);
        return RoundRaw(top + t * (bottom - top));
    };
    return {mix(&RawTouchPoint::x), mix(&RawTouchPoint::y)};
}

bool Degenerate(const ScreenRect& area)
{
    // Fewer than two pixels leave the targets on one line.
    return area.right - area.left < 2 || area.bottom - area.top < 2;
}

// The text with its %d and %s directives, in order, replaced by the values.
std::wstring Fill(std::wstring text, std::initializer_list<std::wstring> values)
{
    std::size_t at = 0;
    for (const std::wstring& value : values) {
        at = text.find(L'%', at);
        while (at != std::wstring::npos && (at + 1 >= text.size() || (text[at + 1] != L'd' && text[at + 1] != L's')))
            at = text.find(L'%', at + 1);
        if (at == std::wstring::npos)
            break;
        text.replace(at, 2, value);
        at += value.size();
    }
    return text;
}

} // namespace

RefitResult RefitRecord(const DeviceConfig& stored, const std::optional<CalibratedDisplay>& kept,
                        std::span<const MonitorEntry> monitors)
{
    RefitResult result;
    if (stored.IsCalibrate == 0) {
        result.verdict = RefitVerdict::NotCalibrated;
        return result;
    }
    const ScreenSize first = ScaleBase(monitors, {});
    const bool keptCounts = kept && AgreesWithRecord(*kept, stored);
    const std::optional<CalibratedDisplay> from = keptCounts ? kept : RecoverDisplay(stored, first);
    if (stored.IsCalibrate != 1 || !from || Degenerate(from->area))
        return result; // Inconsistent
    result.from = *from;
    if (stored.MonitorID < 0 || static_cast<std::size_t>(stored.MonitorID) >= monitors.size()) {
        result.verdict = RefitVerdict::MonitorMissing;
        return result;
    }
    const MonitorEntry& monitor = monitors[static_cast<std::size_t>(stored.MonitorID)];
    const bool firstUnchanged = from->firstMonitor.width == first.width && from->firstMonitor.height == first.height;
    if (keptCounts) {
        // The monitor it was calibrated on is still there as it was.
        const bool unchanged = std::any_of(monitors.begin(), monitors.end(), [&](const MonitorEntry& m) {
            return m.left == from->monitor.left && m.top == from->monitor.top && m.right == from->monitor.right &&
                   m.bottom == from->monitor.bottom && m.orientation == from->monitor.orientation;
        });
        if (firstUnchanged && unchanged) {
            result.verdict = RefitVerdict::AlreadyRight;
            return result;
        }
    } else {
        // Nothing says the display changed, and a region must never be widened.
        const std::optional<MonitorEntry> under = MonitorUnder(from->area, monitors);
        if (firstUnchanged && under && Inside(from->area, *under)) {
            result.verdict = RefitVerdict::AlreadyRight;
            return result;
        }
        if (Flipped(from->monitor, monitor)) {
            result.verdict = RefitVerdict::TurnUnknown;
            return result;
        }
        result.from.monitor.orientation = monitor.orientation;
    }

    const int turns = (monitor.orientation - result.from.monitor.orientation) & 3;
    const ScreenRect area = FitArea(from->area, result.from.monitor, monitor, turns);
    if (Degenerate(area))
        return result; // Inconsistent: nothing of the area is left on the new monitor
    const std::array<RawTouchPoint, 4> raw = {RawTouchPoint{stored.M1X, stored.M1Y},
                                              {stored.M2X, stored.M2Y},
                                              {stored.M3X, stored.M3Y},
                                              {stored.M4X, stored.M4Y}};
    CalibrationInput input;
    for (int i = 0; i < 4; ++i)
        input.points[i] =
            RawAt(OnOldDisplay(TargetPosition(i, area), result.from.monitor, monitor, turns), raw, from->area);
    input.window = area;
    input.monitors = monitors;
    input.mapping.monitorNumber = stored.MonitorID;
    result.record = ComputeCalibratedConfig(input, stored);
    if (ToSlots(result.record) == ToSlots(stored)) {
        result.verdict = RefitVerdict::AlreadyRight;
        return result;
    }
    result.verdict = RefitVerdict::Refitted;
    result.to = CalibratedDisplay{monitor, first, area, true};
    result.quarterTurns = turns;
    return result;
}

std::wstring DescribeArea(const ScreenRect& area)
{
    return std::to_wstring(area.right - area.left) + L"x" + std::to_wstring(area.bottom - area.top) + L" at " +
           std::to_wstring(area.left) + L"," + std::to_wstring(area.top);
}

std::vector<RefitOutcome> RefitCalibrations(const RefitServices& services)
{
    auto text = [&](std::wstring_view key) { return services.text ? services.text(key) : std::wstring(key); };
    services.devices.RefreshMonitors();
    const std::vector<MonitorEntry> monitors = services.devices.Monitors();
    std::vector<RefitOutcome> outcomes;
    for (unsigned slot = 0; slot < services.devices.Count(); ++slot) {
        TouchScreenRecord record;
        if (!services.devices.WithRecord(slot, [&](const TouchScreenRecord& r) {
                record.touchScreenNumber = r.touchScreenNumber;
                record.numberUnknown = r.numberUnknown;
                record.deviceObjectName = r.deviceObjectName;
            }))
            break; // unplugged meanwhile: the later slots moved down
        RefitOutcome& outcome = outcomes.emplace_back();
        outcome.slot = slot;
        outcome.touchScreenNumber = record.touchScreenNumber;
        auto leave = [&](std::wstring reason) {
            outcome.state = RefitState::LeftAsIs;
            outcome.detail = std::move(reason);
        };
        // Its number may be another touchscreen's: that record is not its own.
        if (record.numberUnknown) {
            leave(text(L"188"));
            continue;
        }
        DeviceConfig stored = CalibrationReadRequest(record);
        if (!services.configuration.GetDeviceConfig(stored)) {
            leave(text(L"184"));
            continue;
        }
        const std::uint32_t deviceKey = DeviceKeyFromObjectName(record.deviceObjectName);
        const std::optional<CalibratedDisplay> kept = ReadCalibratedDisplay(services.registry, deviceKey);
        const RefitResult result = RefitRecord(stored, kept, monitors);
        switch (result.verdict) {
        case RefitVerdict::NotCalibrated:
            outcome.state = RefitState::NotCalibrated;
            break;
        case RefitVerdict::AlreadyRight:
            outcome.state = RefitState::AlreadyRight;
            outcome.markedRefitted = kept && kept->refitted && AgreesWithRecord(*kept, stored);
            break;
        case RefitVerdict::Inconsistent:
            leave(text(L"185"));
            break;
        case RefitVerdict::MonitorMissing:
            leave(Fill(text(L"186"), {std::to_wstring(stored.MonitorID)}));
            break;
        case RefitVerdict::TurnUnknown:
            leave(text(L"187"));
            break;
        case RefitVerdict::Refitted:
            if (!services.configuration.SetDeviceConfig(deviceKey, result.record)) {
                leave(text(L"189"));
                break;
            }
            KeepCalibratedDisplay(services.registry, deviceKey, result.to);
            outcome.state = RefitState::Refitted;
            outcome.markedRefitted = true;
            outcome.detail = DescribeArea(result.from.area) + L" -> " + DescribeArea(result.to.area);
            if (result.quarterTurns != 0)
                outcome.detail += L", turned " + std::to_wstring(90 * result.quarterTurns) + L" degrees";
            if (services.writeLog)
                services.writeLog(L"TouchScreen No." + std::to_wstring(stored.TouchScreenNumber) + L" re-fitted: " +
                                  outcome.detail);
            break;
        }
    }
    return outcomes;
}

bool IsMarkedRefitted(const RefitServices& services, unsigned slot)
{
    TouchScreenRecord record;
    if (!services.devices.WithRecord(slot,
                                     [&](const TouchScreenRecord& r) {
                                         record.touchScreenNumber = r.touchScreenNumber;
                                         record.numberUnknown = r.numberUnknown;
                                         record.deviceObjectName = r.deviceObjectName;
                                     }) ||
        record.numberUnknown)
        return false;
    DeviceConfig stored = CalibrationReadRequest(record);
    if (!services.configuration.GetDeviceConfig(stored))
        return false;
    const std::optional<CalibratedDisplay> kept =
        ReadCalibratedDisplay(services.registry, DeviceKeyFromObjectName(record.deviceObjectName));
    return kept && kept->refitted && AgreesWithRecord(*kept, stored);
}

std::wstring RefitOutcomeLine(const RefitOutcome& outcome,
                              const std::function<std::wstring(std::wstring_view key)>& text)
{
    std::wstring what = outcome.detail;
    switch (outcome.state) {
    case RefitState::Refitted:
        what = Fill(text(L"181"), {outcome.detail});
        break;
    case RefitState::AlreadyRight:
        what = text(L"182");
        break;
    case RefitState::NotCalibrated:
        what = text(L"183");
        break;
    case RefitState::LeftAsIs:
        break;
    }
    return Fill(text(L"180"), {std::to_wstring(outcome.touchScreenNumber), what});
}
