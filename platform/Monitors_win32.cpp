#include "platform/Monitors_win32.h"

namespace {
BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data)
{
    auto* monitors = reinterpret_cast<std::vector<MonitorRect>*>(data);
    monitors->push_back(MonitorRect{rect->left, rect->top, rect->right, rect->bottom});
    return TRUE;
}
} // namespace

std::vector<MonitorRect> CWin32Monitors::Enumerate()
{
    std::vector<MonitorRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}
