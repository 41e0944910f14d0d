#pragma once
// The display a touchscreen was calibrated on, kept beside its record. The
// record holds the area and the first monitor's size only as scaled values;
// the rectangle and orientation of the monitor the calibration window lay
// on are not in it at all. Without them a region cannot follow its monitor
// exactly, so the calibration keeps them under the program's own key of the
// machine's registry, one subkey per device key. A kept display counts only
// while it agrees with the stored record: an import or another tool that
// changed the record voids it.

#include "calibration/CalibrationResult.h"
#include "config/DeviceConfig.h"
#include "device/DeviceManager.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

class IRegistry;

constexpr wchar_t kCalibratedDisplaysPath[] =
    L"Software\\Pelno Touch Systems\\TouchScreen Control Panel\\Calibrated Displays";

struct CalibratedDisplay {
    MonitorEntry monitor;    // the rectangle and orientation it was calibrated on (index unused)
    ScreenSize firstMonitor; // the size the record's scaled values refer to
    ScreenRect area;         // the calibration window, or the region
    bool refitted = false;   // stored by a re-fit, not by a calibration
};

// The monitor of the table that holds most of the window; none when the
// window lies on none.
std::optional<MonitorEntry> MonitorUnder(const ScreenRect& window, std::span<const MonitorEntry> monitors);

// True when the record's calibrated flag is set and its area slots are
// those a calibration in that display stores.
bool AgreesWithRecord(const CalibratedDisplay& display, const DeviceConfig& record);

// HKEY_LOCAL_MACHINE\<kCalibratedDisplaysPath>\<device key>, one value.
// Keeping answers whether it was stored; reading gives nothing for a
// missing or unreadable value.
bool KeepCalibratedDisplay(IRegistry& registry, std::uint32_t deviceKey, const CalibratedDisplay& display);
std::optional<CalibratedDisplay> ReadCalibratedDisplay(IRegistry& registry, std::uint32_t deviceKey);
