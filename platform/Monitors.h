#pragma once
// Seam: the display monitors, in the order the system enumerates them.

#include <vector>

struct MonitorRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int orientation = 0; // quarter turns counter-clockwise, as DEVMODE's dmDisplayOrientation
};

class IMonitorSource {
public:
    virtual ~IMonitorSource() = default;
    virtual std::vector<MonitorRect> Enumerate() = 0;
};

// A fixed monitor list, for tests and tools.
class CFixedMonitors : public IMonitorSource {
public:
    std::vector<MonitorRect> monitors;
    std::vector<MonitorRect> Enumerate() override { return monitors; }
};
