#include "platform/Monitors_win32.h"

namespace {

// The picture's quarter turns (DMDO_DEFAULT .. DMDO_270); 0 when the
// display's current settings do not say.
int Orientation(HMONITOR monitor)
{
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return 0;
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsExW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode, 0) ||
        !(mode.dmFields & DM_DISPLAYORIENTATION))
        return 0;
    return static_cast<int>(mode.dmDisplayOrientation & 3);
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data)
{
    auto* monitors = reinterpret_cast<std::vector<MonitorRect>*>(data);
    monitors->push_back(MonitorRect{rect->left, rect->top, rect->right, rect->bottom, Orientation(monitor)});
    return TRUE;
}

} // namespace

std::vector<MonitorRect> CWin32Monitors::Enumerate()
{
    std::vector<MonitorRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}
