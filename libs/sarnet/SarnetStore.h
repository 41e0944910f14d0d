#pragma once
// How the configuration library keeps the two records in the driver
// service's registry key: the driver record as the 18 named values of
// DriverParameters, each touchscreen's record as the 26 named values of the
// DeviceParameters subkey "TouchScreen<number>". docs/parameter-store.md
// lists which slot each value holds.

#include "config/DeviceConfig.h"
#include "config/DriverConfig.h"

#include <cstdint>
#include <string>

class IRegistry;

class CSarnetStore {
public:
    explicit CSarnetStore(IRegistry& registry) : m_registry(registry) {}

    // Values that cannot be read leave their slots as they were; false then.
    bool ReadDriver(DriverConfig& config);
    bool WriteDriver(const DriverConfig& config);
    // Slot 21 (0-254) names the touchscreen; false when it is out of range
    // or the touchscreen has no subkey (the record is then left untouched).
    bool ReadDevice(DeviceConfig& config);
    bool WriteDevice(std::uint32_t deviceKey, const DeviceConfig& config);

    // The DeviceParameters subkey of a touchscreen number, or empty when the
    // number is outside 0-254.
    static std::wstring SubkeyName(std::int32_t touchScreenNumber);

private:
    IRegistry& m_registry;
};
