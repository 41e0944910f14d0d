#include "app/Win32Platform_win32.h"

#include "platform/AnsiCodePage_win32.h"
#include "platform/Console_win32.h"
#include "platform/FileStore_win32.h"
#include "platform/HidPort_win32.h"
#include "platform/Monitors_win32.h"
#include "platform/Platform.h"
#include "platform/Profile_win32.h"
#include "platform/Registry_win32.h"
#include "platform/SystemMouse_win32.h"
#include "platform/System_win32.h"
#include "platform/WindowMessenger_win32.h"
#include "sim/SimHidPort.h"
#include "sim/SimMouseFinger.h"

#include <memory>

namespace {

std::wstring EnvironmentValue(const wchar_t* name)
{
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    DWORD n = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(n < size ? n : 0);
    return value;
}

} // namespace

std::string InstallWin32Platform()
{
    static CWin32Profile profile;
    static CWin32FileStore files;
    static CWin32AnsiCodePage ansi;
    static CWin32Registry registry;
    static CWin32Console console;
    static CWin32Monitors monitors;
    static CWin32Messenger messenger;
    static CWin32System system;
    static CWin32SystemMouse mouse;
    static std::unique_ptr<IHidPort> hid;

    std::string error;
    std::wstring simulate = EnvironmentValue(L"PELNOCPL_SIMULATE");
    if (simulate.empty()) {
        hid = std::make_unique<CWin32HidPort>();
    } else {
        auto scenario = LoadScenario(simulate, error);
        if (!scenario)
            error = "PELNOCPL_SIMULATE: " + error;
        auto sim = std::make_unique<CSimHidPort>(scenario ? *scenario : SimScenario{}, &messenger);
        StartMouseFinger(*sim);
        hid = std::move(sim);
    }

    PlatformServices services;
    services.hid = hid.get();
    services.registry = &registry;
    services.profile = &profile;
    services.files = &files;
    services.ansi = &ansi;
    services.console = &console;
    services.monitors = &monitors;
    services.messenger = &messenger;
    services.system = &system;
    services.mouse = &mouse;
    SetPlatform(services);
    return error;
}
