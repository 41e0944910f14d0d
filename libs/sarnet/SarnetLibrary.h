#pragma once
// The configuration library's four exported calls behind the dialogs'
// interface (Sarnet.dll on Windows, the static library natively).

#include "config/ConfigurationLibrary.h"

class CSarnetLibrary : public IConfigurationLibrary {
public:
    bool GetDriverConfig(DriverConfig& config) override;
    bool SetDriverConfig(const DriverConfig& config) override;
    bool GetDeviceConfig(DeviceConfig& config) override;
    bool SetDeviceConfig(std::uint32_t deviceKey, const DeviceConfig& config) override;
};
