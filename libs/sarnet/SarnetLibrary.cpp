#include "libs/sarnet/SarnetLibrary.h"

#include "libs/sarnet/Sarnet.h"

bool CSarnetLibrary::GetDriverConfig(DriverConfig& config) { return ::GetDriverConfig(&config) != 0; }

bool CSarnetLibrary::SetDriverConfig(const DriverConfig& config) { return ::SetDriverConfig(config) != 0; }

bool CSarnetLibrary::GetDeviceConfig(DeviceConfig& config) { return ::GetDeviceConfig(&config) != 0; }

bool CSarnetLibrary::SetDeviceConfig(std::uint32_t deviceKey, const DeviceConfig& config)
{
    return ::SetDeviceConfig(deviceKey, config) != 0;
}
