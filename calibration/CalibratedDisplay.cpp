#include "calibration/CalibratedDisplay.h"

#include "platform/Registry.h"

#include <algorithm>
#include <array>
#include <sstream>

namespace {

// One string of twelve numbers, written and read in one call, so that a
// display is never half stored: the monitor's left, top, right, bottom and
// orientation, the first monitor's width and height, the area's left, top,
// right and bottom, and 1 when a re-fit stored it.
constexpr wchar_t kDisplayValue[] = L"Display";
constexpr std::size_t kDisplayNumbers = 12;

std::wstring KeyPath(std::uint32_t deviceKey)
{
    return std::wstring(kCalibratedDisplaysPath) + L"\\" + std::to_wstring(deviceKey);
}

std::int64_t Overlap(std::int32_t low1, std::int32_t high1, std::int32_t low2, std::int32_t high2)
{
    return std::max<std::int64_t>(0, std::int64_t{std::min(high1, high2)} - std::max(low1, low2));
}

} // namespace

std::optional<MonitorEntry> MonitorUnder(const ScreenRect& window, std::span<const MonitorEntry> monitors)
{
    std::optional<MonitorEntry> best;
    std::int64_t bestArea = 0;
    for (const MonitorEntry& monitor : monitors) {
        const std::int64_t area = Overlap(window.left, window.right, monitor.left, monitor.right) *
                                  Overlap(window.top, window.bottom, monitor.top, monitor.bottom);
        if (area > bestArea) {
            bestArea = area;
            best = monitor;
        }
    }
    return best;
}

bool AgreesWithRecord(const CalibratedDisplay& display, const DeviceConfig& record)
{
    if (record.IsCalibrate != 1)
        return false;
    CalibrationInput input;
    input.window = display.area;
    input.primaryScreen = display.firstMonitor;
    const DeviceConfig expected = ComputeCalibratedConfig(input, record);
    return expected.AreaWidthScaled == record.AreaWidthScaled && expected.AreaHeightScaled == record.AreaHeightScaled &&
           expected.AreaWidth == record.AreaWidth && expected.AreaHeight == record.AreaHeight &&
           expected.OriginXScaled == record.OriginXScaled && expected.OriginYScaled == record.OriginYScaled &&
           expected.AreaLeftScaled == record.AreaLeftScaled && expected.AreaTopScaled == record.AreaTopScaled &&
           expected.AreaRightScaled == record.AreaRightScaled && expected.AreaBottomScaled == record.AreaBottomScaled;
}

bool KeepCalibratedDisplay(IRegistry& registry, std::uint32_t deviceKey, const CalibratedDisplay& display)
{
    const MonitorEntry& m = display.monitor;
    const ScreenRect& a = display.area;
    const std::array<std::int32_t, kDisplayNumbers> numbers = {m.left,
                                                               m.top,
                                                               m.right,
                                                               m.bottom,
                                                               m.orientation,
                                                               display.firstMonitor.width,
                                                               display.firstMonitor.height,
                                                               a.left,
                                                               a.top,
                                                               a.right,
                                                               a.bottom,
                                                               display.refitted ? 1 : 0};
    std::wstring text;
    for (std::int32_t number : numbers)
        text += (text.empty() ? L"" : L" ") + std::to_wstring(number);
    const std::wstring path = KeyPath(deviceKey);
    return registry.CreateKey(RegistryRoot::LocalMachine, path) &&
           registry.SetString(RegistryRoot::LocalMachine, path, kDisplayValue, text);
}

std::optional<CalibratedDisplay> ReadCalibratedDisplay(IRegistry& registry, std::uint32_t deviceKey)
{
    const std::optional<std::wstring> text =
        registry.GetString(RegistryRoot::LocalMachine, KeyPath(deviceKey), kDisplayValue);
    if (!text)
        return std::nullopt;
    std::wistringstream in(*text);
    std::array<std::int32_t, kDisplayNumbers> n{};
    for (std::int32_t& number : n)
        if (!(in >> number))
            return std::nullopt;
    if (!(in >> std::ws).eof() || n[4] < 0 || n[4] > 3 || n[5] <= 0 || n[6] <= 0 || n[0] >= n[2] || n[1] >= n[3])
        return std::nullopt;
    CalibratedDisplay display;
    display.monitor = MonitorEntry{n[0], n[1], n[2], n[3], 0, n[4]};
    display.firstMonitor = {n[5], n[6]};
    display.area = {n[7], n[8], n[9], n[10]};
    display.refitted = n[11] == 1;
    return display;
}
