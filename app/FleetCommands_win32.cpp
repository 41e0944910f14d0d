#include "app/FleetCommands_win32.h"

#include "app/FleetCommands.h"
#include "common/ConsoleCommands.h"
#include "common/LanguageText.h"
#include "common/MainLog.h"
#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/Console_win32.h"
#include "platform/Platform.h"

#include <windows.h>

#include <mmsystem.h>

namespace {

template <class Command> ConsoleCommand WithContext(Command command)
{
    return [command](const std::wstring& value) {
        const PlatformServices& platform = GetPlatform();
        CSarnetLibrary configuration;
        FleetContext context{GetDeviceManager(), GetProtocolState(), *platform.hid,
                             *platform.system,   *platform.console,  configuration,
                             *platform.files,    *platform.ansi,     ToConsoleText};
        // The device thread's 80 ms pauses would otherwise last up to a
        // timer tick (15.6 ms) longer each.
        timeBeginPeriod(1);
        const int exitCode = command(context, value);
        timeEndPeriod(1);
        return exitCode;
    };
}

} // namespace

void AddFleetCommands(ConsoleCommands& commands)
{
    commands.listTouchScreens =
        WithContext([](FleetContext& context, const std::wstring&) { return ListTouchScreens(context); });
    commands.diagnoseTouchScreens = WithContext(DiagnoseTouchScreens);
    commands.refitCalibrations = WithContext([](FleetContext& context, const std::wstring&) {
        return RefitTouchScreens(context, {*GetPlatform().registry, GetLanguageText, WriteMainLog});
    });
}
