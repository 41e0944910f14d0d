#pragma once
// The display monitors, through EnumDisplayMonitors (Windows build only).

#include "platform/Monitors.h"

#include <windows.h>

class CWin32Monitors : public IMonitorSource {
public:
    std::vector<MonitorRect> Enumerate() override;
};
