#pragma once
// The configuration library as the dialogs reach it: its four calls, each
// telling whether the whole record was read or stored. The program's
// implementation calls Sarnet.dll; tests hand the panels a fake that keeps
// the records and records the calls.

#include "config/DeviceConfig.h"
#include "config/DriverConfig.h"

#include <cstdint>

class IConfigurationLibrary {
public:
    virtual ~IConfigurationLibrary() = default;
    virtual bool GetDriverConfig(DriverConfig& config) = 0;
    virtual bool SetDriverConfig(const DriverConfig& config) = 0;
    // The record's touchscreen-number slot chooses the touchscreen.
    virtual bool GetDeviceConfig(DeviceConfig& config) = 0;
    virtual bool SetDeviceConfig(std::uint32_t deviceKey, const DeviceConfig& config) = 0;
};
