#pragma once
// The configuration library's four entry points. Windows: exported by
// Sarnet.dll (plain C names, records passed by value as blocks of memory);
// natively: a static library over the process-wide registry seam.
// Each returns nonzero when the whole record was read or stored.

#include "config/DeviceConfig.h"
#include "config/DriverConfig.h"

#include <cstdint>

#if defined(_WIN32) && defined(SARNET_BUILDING_DLL)
#define SARNET_API __declspec(dllexport)
#elif defined(_WIN32)
#define SARNET_API __declspec(dllimport)
#else
#define SARNET_API
#endif

extern "C" {
SARNET_API int GetDriverConfig(DriverConfig* config);
SARNET_API int SetDriverConfig(DriverConfig config);
// Slot 21 of the record chooses the touchscreen.
SARNET_API int GetDeviceConfig(DeviceConfig* config);
SARNET_API int SetDeviceConfig(std::uint32_t deviceKey, DeviceConfig config);
}
