#include "libs/sarnet/Sarnet.h"

#include "libs/sarnet/SarnetRegistry.h"
#include "libs/sarnet/SarnetStore.h"

namespace {
template <class F> int WithStore(F&& f)
{
    IRegistry* registry = SarnetRegistry();
    if (!registry)
        return 0;
    CSarnetStore store(*registry);
    return f(store) ? 1 : 0;
}
} // namespace

extern "C" {

SARNET_API int GetDriverConfig(DriverConfig* config)
{
    if (!config)
        return 0;
    return WithStore([&](CSarnetStore& store) { return store.ReadDriver(*config); });
}

SARNET_API int SetDriverConfig(DriverConfig config)
{
    return WithStore([&](CSarnetStore& store) { return store.WriteDriver(config); });
}

SARNET_API int GetDeviceConfig(DeviceConfig* config)
{
    if (!config)
        return 0;
    return WithStore([&](CSarnetStore& store) { return store.ReadDevice(*config); });
}

SARNET_API int SetDeviceConfig(std::uint32_t deviceKey, DeviceConfig config)
{
    return WithStore([&](CSarnetStore& store) { return store.WriteDevice(deviceKey, config); });
}
}
