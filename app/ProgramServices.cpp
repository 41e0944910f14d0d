#include "app/ProgramServices.h"

#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/Platform.h"

namespace {
IConfigurationLibrary& ProgramConfiguration()
{
    static CSarnetLibrary library;
    return library;
}
} // namespace

MainPanelServices ProgramMainPanelServices()
{
    const PlatformServices& platform = GetPlatform();
    return MainPanelServices{GetDeviceManager(), GetProtocolState(), *platform.hid,         *platform.messenger,
                             &PostDeviceRequest, *platform.system,   ProgramConfiguration()};
}

SettingsPanelServices ProgramSettingsPanelServices()
{
    const PlatformServices& platform = GetPlatform();
    return SettingsPanelServices{ProgramConfiguration(), *platform.mouse, *platform.registry};
}
