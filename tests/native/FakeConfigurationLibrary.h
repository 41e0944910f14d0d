#pragma once
// The configuration library as a panel's test sees it: records kept in
// memory (a touchscreen's under its number) and every call recorded.

#include "config/ConfigurationLibrary.h"

#include <map>
#include <string>
#include <vector>

class CFakeConfigurationLibrary : public IConfigurationLibrary {
public:
    struct Call {
        std::string name;             // "GetDriverConfig", ..., "SetDeviceConfig"
        std::int32_t touchScreen = 0; // the record's number (device calls)
        std::uint32_t deviceKey = 0;  // SetDeviceConfig only
    };

    bool GetDriverConfig(DriverConfig& config) override
    {
        calls.push_back({"GetDriverConfig"});
        config = driver;
        return answers;
    }
    bool SetDriverConfig(const DriverConfig& config) override
    {
        calls.push_back({"SetDriverConfig"});
        if (answers)
            driver = config;
        return answers;
    }
    bool GetDeviceConfig(DeviceConfig& config) override
    {
        calls.push_back({"GetDeviceConfig", config.TouchScreenNumber});
        auto stored = devices.find(config.TouchScreenNumber);
        if (!answers || stored == devices.end())
            return false;
        config = stored->second;
        return true;
    }
    bool SetDeviceConfig(std::uint32_t deviceKey, const DeviceConfig& config) override
    {
        calls.push_back({"SetDeviceConfig", config.TouchScreenNumber, deviceKey});
        if (answers)
            devices[config.TouchScreenNumber] = config;
        return answers;
    }

    DriverConfig driver{};
    std::map<std::int32_t, DeviceConfig> devices; // by touchscreen number
    bool answers = true;                          // false: every call fails
    std::vector<Call> calls;
};
