#pragma once
// What a calibration must put back if it never ends normally (the program
// killed, a crash): the driver's click mode, switched to click on release
// while it runs, and during the review the touchscreen's previous record.
// Memory dies with the process, so both are kept under the program's own
// key of the user's registry before they are changed; the next start of
// either face puts them back, and every normal ending clears them.

#include "config/DeviceConfig.h"

#include <cstdint>

class IConfigurationLibrary;
class IRegistry;

constexpr wchar_t kInterruptedCalibrationPath[] =
    L"Software\\Pelno Touch Systems\\TouchScreen Control Panel\\Interrupted Calibration";

class CInterruptedCalibration {
public:
    // No registry: nothing is kept (a calibration in a test of its own).
    explicit CInterruptedCalibration(IRegistry* registry) : m_registry(registry) {}

    // Before the driver is switched to click on release.
    void KeepClickMode(std::int32_t mode);
    // Before a new calibration is stored for the review: the record that
    // was stored before it, and the device key it is written back with.
    void KeepRecord(std::uint32_t deviceKey, const DeviceConfig& previous);
    // A normal ending put everything back itself.
    void Clear();

private:
    IRegistry* m_registry;
};

// At start: writes back what an interrupted calibration kept (the click
// mode, the record), then clears it. True when something was put back.
// A kept value that cannot be read is dropped.
bool RestoreInterruptedCalibration(IRegistry& registry, IConfigurationLibrary& configuration);
