#include "update/FirmwareCommands.h"

#include "common/ConsoleCommands.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "platform/Console_win32.h"
#include "platform/Platform.h"
#include "platform/System_win32.h"
#include "update/ConsoleUpdater.h"

#include <mmsystem.h>

namespace {

int UpdateFirmware(const std::wstring& value)
{
    const PlatformServices& platform = GetPlatform();
    ConsoleUpdateContext context{GetDeviceManager(), *platform.hid,     *platform.console,  *platform.system,
                                 GetProtocolState(), PostDeviceRequest, CurrentDirectory(), ToConsoleText};
    // With the default 15.6 ms timer tick every 20 ms frame pause would last
    // about 31 ms: the whole update would take half as long again.
    timeBeginPeriod(1);
    int exitCode = CConsoleUpdater(context, value).Run();
    timeEndPeriod(1);
    return exitCode;
}

} // namespace

void AddFirmwareCommands(ConsoleCommands& commands) { commands.updateFirmware = UpdateFirmware; }
